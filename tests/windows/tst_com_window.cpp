// The main window over a real serial port: COM5 under Wine, which scripts/windows links to the
// pseudo-terminal of tr640-radio-sim. The script names the port number (TR640_TEST_PORT), the
// codeplug the radio starts with (TR640_TEST_IMAGE) and the file the radio stores its memory
// in after a write (TR640_TEST_SAVED); without them the suite is skipped.

#include "support/UiTestSupport.h"

#include "link/TransferSession.h"
#include "ui/main/TransferController.h"

#include <QDir>
#include <QToolBar>

using namespace tr640;
using namespace tr640::test;
using link::Outcome;

class TestComWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readThenWrite();
};

void TestComWindow::readThenWrite() {
    const int port = qEnvironmentVariableIntValue("TR640_TEST_PORT");
    const QString image = qEnvironmentVariable("TR640_TEST_IMAGE");
    const QString saved = qEnvironmentVariable("TR640_TEST_SAVED");
    if (port == 0 || image.isEmpty() || saved.isEmpty())
        QSKIP("no radio on a COM port (scripts/windows provides one under Wine)");
    const QByteArray start = ReadAll(image);
    QCOMPARE(start.size(), 848);
    Window w;
    w->transfer().setDataDirectory(w.dir.filePath("data"));
    BoxAnswerer boxes;
    auto* item = w.find<QAction>(QStringLiteral("mnucom%1").arg(port));
    item->trigger();
    QVERIFY(item->isChecked());
    QCOMPARE(w->state().ComPortNumber, port);
    const auto outcome = [&] { return w->transfer().session().outcome(); };

    // The read: the kept copy holds the bytes the radio sent.
    w->runToolbarKey("read");
    QTRY_COMPARE_WITH_TIMEOUT(outcome(), Outcome::ReadDone, 30000);
    QCOMPARE(ReadAll(w->transfer().backupDirectory() + "/" +
                     QDir(w->transfer().backupDirectory()).entryList(QDir::Files).value(0)),
             start);
    QTRY_VERIFY_WITH_TIMEOUT(w.find<QToolBar>("Toolbar1")->isEnabled(), 10000);

    // The write of a changed channel: the radio stores every written range, and keeps the rest.
    w->editor().cell(2, ColRxFrequency) = w->editor().cell(2, ColTxFrequency) = "433.02500";
    const QByteArray sent = EncodeImage(w->editor());
    w->runToolbarKey("write");
    QTRY_COMPARE_WITH_TIMEOUT(outcome(), Outcome::WriteDone, 30000);
    QTRY_VERIFY_WITH_TIMEOUT(ReadAll(saved).size() == 848, 10000);
    const QByteArray stored = ReadAll(saved);
    for (int a = 0x10; a < 0x360; ++a) {
        const bool written = a < 0x180 || (a >= 0x1B8 && a < 0x1C8) || a >= 0x200;
        const int o = a - 0x10;
        QVERIFY2(stored[o] == (written ? sent[o] : start[o]),
                 qPrintable(QString("address %1").arg(a, 0, 16)));
    }
    QVERIFY(stored != start);
    QCOMPARE(boxes.count(), 0);
}

QTEST_MAIN(TestComWindow)
#include "tst_com_window.moc"
