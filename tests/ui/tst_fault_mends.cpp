// Faults a user met in the main window and its dialogs: New with an open editor, a
// named pipe opened as a codeplug, undo and the dialogs, test frequencies of 1000 MHz.

#include "support/UiTestSupport.h"

#include "ui/dialogs/SettingsDialog.h"

#include <sys/stat.h>

using namespace tr640;
using namespace tr640::test;

namespace {

// An English main window, shown and active.
struct Main : Window {
    Main() : Window(QByteArray("\0\0\1", 3), true) { activate(); }
    SettingsDialog* dialog(const char* name) const {
        auto* d = qobject_cast<SettingsDialog*>(form->windowNamed(QLatin1String(name)));
        d->showDialog();
        return d;
    }
};

} // namespace

class TestFaultMends : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void newDropsTheOpenEditor() {
        Main w;
        w.type(1, 1, "446");
        w.type(3, 1, "441", false);
        BoxAnswerer ok({"OK"});
        w.trigger("mnuNew");
        w.trigger("mnuCopy");
        for (int row = 1; row <= kChannelCount; ++row)
            QCOMPARE(w.grid()->text(row, ColRxFrequency), QString());
    }

    void namedPipeIsRefused() {
        Main w;
        const QString fifo = w.dir.filePath("fifo.DAT");
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        BoxAnswerer box({}, {fifo});
        w.trigger("mnuOpen"); // a window that waits on the pipe never returns
        QCOMPARE(box.count(), 1);
        QVERIFY2(box.text().contains("it is not an ordinary file"), qPrintable(box.text()));
    }

    void undoKeepsWhatDialogsHold() {
        Main w;
        auto* message = w.dialog("Form7")->findChild<QLineEdit*>("Text1");
        QTest::keyClicks(message, "HELLO");
        auto* key = w.dialog("Form6")->findChild<QComboBox*>("Combo1");
        key->setCurrentIndex(3);
        w->activateWindow();
        w.type(1, 1, "446");
        w.trigger("mnuUndo");
        QCOMPARE(w.grid()->text(1, 1), QString());
        QCOMPARE(message->text(), "HELLO");
        QCOMPARE(key->currentIndex(), 3);
    }

    void testFrequencyOf1000MHzRefused_data() { // column | typed | shown | messages
        AddRows({"receive 999.995: 1|999.995|999.99500|0", "receive 1000: 1|1000|146.00000|1",
                 "transmit 1000.5: 2|1000.5|146.00000|1"});
    }
    void testFrequencyOf1000MHzRefused() {
        QFETCH(QStringList, row);
        Main w;
        w->editor().Settings.TestRxFrequency[0] = w->editor().Settings.TestTxFrequency[0] =
            "146.00000";
        SettingsDialog* test = w.dialog("Form4");
        test->refreshFromStore();
        auto* grid = test->findChild<CellEditGrid*>("mfgrid1");
        BoxAnswerer box;
        ClickCell(grid, 1, row[0].toInt());
        QTRY_VERIFY(grid->cellEditor());
        grid->cellEditor()->selectAll();
        QTest::keyClicks(grid->cellEditor(), row[1]);
        QTest::keyClick(grid->cellEditor(), Qt::Key_Return);
        QTRY_COMPARE(box.count(), row[3].toInt());
        QTRY_COMPARE(grid->text(1, row[0].toInt()), row[2]);
        if (box.count())
            QCOMPARE(box.text(), "Beyond the frequency range");
    }
};

QTEST_MAIN(TestFaultMends)
#include "tst_fault_mends.moc"
