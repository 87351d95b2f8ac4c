// Faults a user met in the main window and its dialogs: the tone editor, New and the lock with
// an open editor, a named pipe opened as a codeplug, undo and the dialogs, a language switch
// with dialogs open, test frequencies of 1000 MHz.

#include "support/UiTestSupport.h"

#include "ui/dialogs/CellEditGrid.h"
#include "ui/dialogs/SettingsDialog.h"
#include "ui/main/FileCommands.h"
#include "ui/widgets/FlexGrid.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>

#include <sys/stat.h>

using namespace tr640;
using namespace tr640::test;

namespace {

// An English main window, shown and active.
struct Main : Window {
    FlexGrid* grid = find<FlexGrid>("Grid1");
    Main() : Window(QByteArray("\0\0\1", 3), true) {
        form->show();
        QApplication::setActiveWindow(form.get());
        (void)QTest::qWaitForWindowActive(form.get());
    }
    void click(FlexGrid* g, int row, int col) const {
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {},
                          g->visualRect(g->model()->index(row, col)).center());
    }
    // Types into the editor a click on a cell opens; Enter commits unless `leaveOpen`.
    void type(int row, int col, const QString& text, bool leaveOpen = false) {
        click(grid, row, col);
        auto* combo8 = find<QComboBox>("Combo8");
        QWidget* editor = find<QLineEdit>("Text1");
        if (combo8->isVisible()) {
            QTest::keyClick(combo8->view(), Qt::Key_Escape);
            editor = combo8;
        }
        (combo8->isVisible() ? combo8->lineEdit() : static_cast<QLineEdit*>(editor))->clear();
        QTest::keyClicks(editor, text);
        if (!leaveOpen)
            QTest::keyClick(editor, Qt::Key_Return);
    }
    void trigger(const char* action) { find<QAction>(action)->trigger(); }
    SettingsDialog* dialog(const char* name) {
        auto* d = qobject_cast<SettingsDialog*>(form->windowNamed(QLatin1String(name)));
        d->showDialog();
        return d;
    }
};

// Chooses entry `text` in an open list as a user does.
void Choose(QComboBox* list, const QString& text) {
    list->view()->setCurrentIndex(list->model()->index(list->findText(text), 0));
    QTest::keyClick(list->view(), Qt::Key_Return);
}

} // namespace

class TestFaultMends : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void toneListShowsTheCellsOwnEntry_data();
    void toneListShowsTheCellsOwnEntry();
    void newDropsTheOpenEditor();
    void lockCoversEditorAndEditMenu_data();
    void lockCoversEditorAndEditMenu();
    void namedPipeIsRefused();
    void undoKeepsWhatDialogsHold();
    void languageSwitchFitsOpenDialogs();
    void testFrequencyOf1000MHzRefused_data();
    void testFrequencyOf1000MHzRefused();
    void transferTimersArePrecise();
};

void TestFaultMends::toneListShowsTheCellsOwnEntry_data() {
    QTest::addColumn<QString>("typed"); // into channel 2's tone editor, or chosen when D...
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("highlighted");
    QTest::newRow("typed tone the list lacks") << "88"
                                               << "88.0"
                                               << "";
    QTest::newRow("listed tone") << "D754I"
                                 << "D754I"
                                 << "D754I";
}

void TestFaultMends::toneListShowsTheCellsOwnEntry() {
    QFETCH(QString, typed);
    QFETCH(QString, cell);
    QFETCH(QString, highlighted);
    Main w;
    auto* combo8 = w.find<QComboBox>("Combo8");
    w.type(1, 1, "446");
    w.click(w.grid, 1, 2);
    Choose(combo8, "D023N"); // the list's entry is now that of another cell
    w.type(2, 1, "447");
    if (typed.startsWith(u'D')) {
        w.click(w.grid, 2, 2);
        Choose(combo8, typed);
    } else {
        w.type(2, 2, typed);
    }
    QCOMPARE(w.grid->text(2, 2), cell);
    // Opened again: the cell's own entry is highlighted; Enter and Escape leave the cell.
    w.click(w.grid, 2, 2);
    QTRY_VERIFY(combo8->view()->isVisible());
    QCOMPARE(combo8->view()->currentIndex().data().toString(), highlighted);
    QTest::keyClick(combo8->view(), Qt::Key_Return);
    QTest::keyClick(combo8->view(), Qt::Key_Escape);
    w.form->commitEditor();
    QCOMPARE(w.grid->text(2, 2), cell);
}

void TestFaultMends::newDropsTheOpenEditor() {
    Main w;
    w.type(1, 1, "446");
    w.type(3, 1, "441", true);
    BoxAnswerer ok({"OK"});
    w.trigger("mnuNew");
    w.form->commitEditor(); // as the next command that reads the grid does
    for (int row = 1; row <= kChannelCount; ++row)
        QCOMPARE(w.grid->text(row, ColRxFrequency), QString());
}

void TestFaultMends::lockCoversEditorAndEditMenu_data() {
    QTest::addColumn<QString>("command");
    for (const char* c : {"mnuUndo", "mnuRedo", "mnuCut", "mnuPaste", "mnuDeleteChannels"})
        QTest::newRow(c) << c;
}

void TestFaultMends::lockCoversEditorAndEditMenu() {
    QFETCH(QString, command);
    Main w;
    w.type(1, 1, "446");
    w.type(2, 1, "447");
    w.grid->setCurrentCell(1, ColRxFrequency);
    w.trigger("mnuCopy");
    w.trigger("mnuUndo"); // channel 2 goes; Redo would bring it back
    w.type(1, 1, "446", true);
    w.trigger("mnulock");
    QVERIFY(!w.find<QLineEdit>("Text1")->isVisible()); // committed or closed before the lock
    const EditorState locked = w.form->editor();
    w.grid->setCurrentCell(command == "mnuPaste" ? 2 : 1, ColRxFrequency);
    QAction* action = w.find<QAction>(command);
    QVERIFY(!action->isEnabled());
    action->trigger();
    QVERIFY(w.form->editor() == locked);
    // Locked channels keep the text colour of unlocked ones.
    QCOMPARE(w.grid->palette().color(QPalette::Disabled, QPalette::Text),
             w.grid->palette().color(QPalette::Active, QPalette::Text));
}

void TestFaultMends::namedPipeIsRefused() {
    Main w;
    const QString fifo = w.dir.filePath("fifo.DAT");
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    BoxAnswerer box;
    QVERIFY(!w.form->files().openFile(fifo)); // a window that waits on the pipe never returns
    QCOMPARE(box.count(), 1);
    QVERIFY2(box.seen()[0].text.contains("it is not an ordinary file"),
             qPrintable(box.seen()[0].text));
}

void TestFaultMends::undoKeepsWhatDialogsHold() {
    Main w;
    auto* message = w.dialog("Form7")->findChild<QLineEdit*>("Text1");
    QTest::keyClicks(message, "HELLO");
    auto* key = w.dialog("Form6")->findChild<QComboBox*>("Combo1");
    key->setCurrentIndex(3);
    w.form->activateWindow();
    w.type(1, 1, "446");
    w.trigger("mnuUndo");
    QCOMPARE(w.grid->text(1, 1), QString());
    QCOMPARE(message->text(), "HELLO");
    QCOMPARE(key->currentIndex(), 3);
}

void TestFaultMends::languageSwitchFitsOpenDialogs() {
    Main w;
    w.trigger("mnuChinese");
    const QList<SettingsDialog*> open{w.dialog("Form5"), w.dialog("Form6")};
    QApplication::processEvents();
    w.trigger("mnuEnglish");
    QApplication::processEvents();
    for (SettingsDialog* d : open)
        for (QComboBox* list : d->findChildren<QComboBox*>())
            if (list->isVisible())
                QVERIFY2(list->width() >= list->sizeHint().width(),
                         qPrintable(d->objectName() + u' ' + list->objectName() + u' ' +
                                    list->currentText()));
}

void TestFaultMends::testFrequencyOf1000MHzRefused_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("messages");
    QTest::newRow("receive 999.995") << 1 << "999.995"
                                     << "999.99500" << 0;
    QTest::newRow("receive 1000") << 1 << "1000"
                                  << "146.00000" << 1;
    QTest::newRow("transmit 1000.5") << 2 << "1000.5"
                                     << "146.00000" << 1;
}

void TestFaultMends::testFrequencyOf1000MHzRefused() {
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, messages);
    Main w;
    auto* grid = w.dialog("Form4")->findChild<CellEditGrid*>("mfgrid1");
    w->editor().Settings.TestRxFrequency[0] = w->editor().Settings.TestTxFrequency[0] = "146.00000";
    qobject_cast<SettingsDialog*>(grid->window())->refreshFromStore();
    BoxAnswerer box;
    w.click(grid, 1, column);
    QTRY_VERIFY(grid->cellEditor());
    grid->cellEditor()->selectAll();
    QTest::keyClicks(grid->cellEditor(), typed);
    QTest::keyClick(grid->cellEditor(), Qt::Key_Return);
    QTRY_COMPARE(box.count(), messages);
    QTRY_COMPARE(grid->text(1, column), shown);
    if (messages)
        QCOMPARE(box.seen()[0].text, "Beyond the frequency range");
}

void TestFaultMends::transferTimersArePrecise() {
    Main w;
    for (const char* name : {"Timer1", "Timer2", "Timer3"})
        QCOMPARE(w.find<QTimer>(name)->timerType(), Qt::PreciseTimer);
}

QTEST_MAIN(TestFaultMends)
#include "tst_fault_mends.moc"
