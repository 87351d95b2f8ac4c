// The main window's own commands: lock, the preferences it starts from and writes, language
// switch, service gestures.

#include "support/UiTestSupport.h"

#include "app/Preferences.h"
#include "app/WriteChecks.h"
#include "codeplug/ToneTable.h"
#include "ui/widgets/ClickLabel.h"

#include <QSlider>

using namespace tr640;
using namespace tr640::test;

namespace {

// A window whose clock the test sets.
struct Clocked : Window {
    double now = 36000.0; // 10:00:00
    Clocked() {
        form->state().Clock = [this] { return now; };
    }
    // A label of the main window (or of `dialog`) clicked at `at`; the whole label reacts.
    void clickLabel(const QString& name, double at, QWidget* dialog = nullptr) {
        now = at;
        QTest::mouseClick(dialog ? dialog->findChild<ClickLabel*>(name) : find<ClickLabel>(name),
                          Qt::LeftButton);
    }
    bool visible(const char* key) const { return find<QAction>(key)->isVisible(); }
};

EditorState WithChannels() {
    EditorState s;
    s.cell(1, ColRxFrequency) = s.cell(1, ColTxFrequency) = "435.00000";
    s.setListCell(1, ColRxTone, 0);
    s.cell(1, ColTxTone) = "88.0"; // a typed tone the list lacks
    s.listIndex(1, ColTxTone) = kToneNotListed;
    for (int col = ColPower; col <= ColScanAdd; ++col)
        s.setListCell(1, col, col == ColBclo || col == ColScanAdd);
    s.cell(2, ColRxFrequency) = s.cell(2, ColTxFrequency) = "436.00000";
    s.setListCell(2, ColRxTone, 60); // D053N
    s.setListCell(2, ColTxTone, 9);  // 88.5
    for (int col = ColPower; col <= ColScanAdd; ++col)
        s.setListCell(2, col, 1);
    s.SquelchLevel = 7;
    s.TimeOutTimer = 11;
    return s;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Rows: object | usable while locked. Nothing locked changes the channels when triggered.
    void lock_data() {
        AddRows({"settings: Frame1|0", "band: Frame2|0", "grid: Grid1|0", "redo: mnuRedo|0",
                 "cut: mnuCut|0", "paste: mnuPaste|0", "toolbar: Toolbar1|1"});
    }
    void lock() {
        QFETCH(QStringList, row);
        Window w(QByteArray("\0\0\1", 3), true);
        w.activate();
        w.type(1, 1, "446");
        w.type(2, 1, "447");
        w.grid()->setCurrentCell(1, ColRxFrequency);
        w.trigger("mnuCopy");
        w.trigger("mnuUndo"); // channel 2 goes; Redo would bring it back
        w.type(1, 1, "446", false);
        QAction* lock = w.find<QAction>("mnulock");
        lock->trigger();
        QVERIFY(lock->isChecked());
        QVERIFY(!w.find<QLineEdit>("Text1")->isVisible()); // committed or closed before the lock
        const EditorState locked = w->editor();
        w.grid()->setCurrentCell(row[0] == "mnuPaste" ? 2 : 1, ColRxFrequency);
        QObject* object = w.find(row[0]);
        QCOMPARE(object->property("enabled").toBool(), row[1] == "1");
        if (auto* action = qobject_cast<QAction*>(object))
            action->trigger();
        QVERIFY(w->editor() == locked);
        lock->trigger();
        QVERIFY(!lock->isChecked());
        QVERIFY(object->property("enabled").toBool());
    }

    void damagedPreferencesFile_data() {
        QTest::addColumn<QByteArray>("parameter");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<int>("port");
        QTest::addColumn<int>("language");
        QTest::newRow("empty") << QByteArray() << false << 0 << 0;
        QTest::newRow("short") << QByteArray("\x01", 1) << true << 0 << 0;
        QTest::newRow("port 3, English") << QByteArray("\x00\x03\x01", 3) << false << 3 << 1;
        QTest::newRow("port 9") << QByteArray("\x00\x09\x01", 3) << false << 0 << 1;
        QTest::newRow("language 2") << QByteArray("\x02\x05\x02", 3) << false << 5 << 0;
    }
    void damagedPreferencesFile() {
        QFETCH(QByteArray, parameter);
        QFETCH(int, language);
        Window w(parameter, true);
        QTEST(w.find<QAction>("mnulock")->isChecked(), "locked");
        QTEST(w->state().ComPortNumber, "port");
        QCOMPARE(Shown(w.form.get(), "Frame2"),
                 QString(language ? "Functions Setting" : "功能设置"));
    }

    // preferences.ini beside `parameter`; the files `port` and `writechecks` of earlier
    // versions are carried into it once and removed.
    void preferencesIni_data() {
        QTest::addColumn<QByteArray>("port");        // old file, null: none
        QTest::addColumn<QByteArray>("writechecks"); // old file, null: none
        QTest::addColumn<QByteArray>("ini");         // null: none
        QTest::addColumn<QString>("name");
        QTest::addColumn<WriteChecks>("checks");
        const QByteArray none;
        const QByteArray ini("[port]\nname=/dev/ttyS1\n[write]\nbackup-before-write=true\n"
                             "verify-after-write=true\n");
        QTest::newRow("old files") << QByteArray("/dev/ttyUSB1\n")
                                   << QByteArray("verify-after-write=1\npreview-before-write=1\n")
                                   << none << "/dev/ttyUSB1" << WriteChecks{false, true, true};
        QTest::newRow("old files win") << QByteArray("COM9") << QByteArray("backup-before-write=0")
                                       << ini << "COM9" << WriteChecks{};
        QTest::newRow("bad old port file")
            << QByteArray("a\x01") << none << ini << QString() << WriteChecks{true, true, false};
        QTest::newRow("INI file") << none << none << ini << "/dev/ttyS1"
                                  << WriteChecks{true, true, false};
        QTest::newRow("damaged INI values")
            << none << none
            << QByteArray("[port]\nname=a,b\n[write]\nbackup-before-write=1\n"
                          "verify-after-write=yes\npreview-before-write=\"true\n")
            << QString() << WriteChecks{};
        QTest::newRow("port file of 256 bytes")
            << QByteArray(256, 'a') << none << none << QString(256, 'a') << WriteChecks{};
        QTest::newRow("port file of 257 bytes")
            << QByteArray(257, 'a') << none << none << QString() << WriteChecks{};
        QTest::newRow("port file not UTF-8")
            << QByteArray("/dev/tty\xFF\xFE") << none << none << QString() << WriteChecks{};
    }
    void preferencesIni() {
        QFETCH(QByteArray, port);
        QFETCH(QByteArray, writechecks);
        QFETCH(QByteArray, ini);
        QFETCH(QString, name);
        QFETCH(WriteChecks, checks);
        QTemporaryDir dir;
        for (const auto& [file, bytes] :
             {std::pair{"port", port}, {"writechecks", writechecks}, {"preferences.ini", ini}})
            QVERIFY(bytes.isNull() || WriteAll(dir.filePath(file), bytes));
        for (int load = 0; load < 2; ++load) {
            QCOMPARE(LoadPreferences(dir.path()).PortName, name);
            QCOMPARE(LoadWriteChecks(dir.path()), checks);
            QVERIFY(!QFile::exists(dir.filePath("port")));
            QVERIFY(!QFile::exists(dir.filePath("writechecks")));
        }
        const WriteChecks other{!checks.BackupFirst, !checks.Verify, !checks.Preview};
        QVERIFY(SaveWriteChecks(dir.path(), other));
        QCOMPARE(LoadWriteChecks(dir.path()), other);
        QCOMPARE(LoadPreferences(dir.path()).PortName, name);
    }

    void preferencesWrittenOnExit() {
        QTemporaryDir dir;
        {
            const std::unique_ptr<Form1> form = OpenMainWindow(dir.path());
            QVERIFY(QFile::exists(dir.filePath("parameter"))); // created at start
            form->state().ComPortNumber = 3;
            form->findChild<QAction*>("mnuEnglish")->trigger();
            form->findChild<QAction*>("mnulock")->setChecked(true);
            QVERIFY(!form->findChild<QAction*>("mnubackupfirst")->isChecked()); // off by default
            form->findChild<QAction*>("mnuverify")->trigger();
            form->close();
        }
        QCOMPARE(ReadAll(dir.filePath("parameter")), QByteArray("\x01\x03\x01", 3));
        QCOMPARE(LoadWriteChecks(dir.path()), (WriteChecks{false, true, false}));
    }

    void languageSwitch() {
        Window w;
        w.open(WithChannels());
        w.trigger("mnuEnglish");
        QCOMPARE(RowTexts(w.grid(), 1), (QStringList{"435.00000", "Off", "435.00000", "88.0", "Low",
                                                     "Carrier", "Narrow", "Yes"}));
        QCOMPARE(RowTexts(w.grid(), 2, 2, 5), (QStringList{"D053N", "436.00000", "88.5", "High"}));
        QVERIFY(w.grid()->text(3, 5).isEmpty()); // empty rows stay empty
        QCOMPARE(Shown(w.form.get(), QStringList{"Combo2", "Combo3", "Combo9", "Grid1@1"}),
                 (QStringList{"Chinese", "180 S", "Level 7", "RX frequency"}));
        w.trigger("mnuChinese");
        QCOMPARE(RowTexts(w.grid(), 1, 2, 6),
                 (QStringList{"关闭", "435.00000", "88.0", "低", "载波"}));
    }

    void serviceGesture_data() { // clicks as label:second; whether the mode is on afterwards
        AddRows({"three within 5 s: Label5:0|Label7:2|Label1:5|1",
                 "spread over 6 s: Label5:0|Label7:3|Label1:6|0",
                 "late click starts again: Label5:0|Label7:3|Label1:6|Label5:8|Label7:10|1",
                 "one label thrice: Label5:0|Label5:1|Label5:2|0"});
    }
    void serviceGesture() {
        QFETCH(QStringList, row);
        const bool on = row.takeLast() == "1";
        Clocked w;
        for (const QString& c : row)
            w.clickLabel(c.section(':', 0, 0), 36000.0 + c.section(':', 1).toDouble());
        QCOMPARE(w.visible("Anma"), on);
        QVERIFY(!w.visible("TAnMa"));
    }

    void relockDisablesCalibration() {
        Clocked w;
        QWidget* debug = w->windowNamed("Form2");
        w.clickLabel("Label3", 36000.0, debug);
        w.clickLabel("Label6", 36000.0, debug);
        QVERIFY(w.visible("TAnMa"));
        QVERIFY(debug->findChild<QSlider*>("Slider1")->isEnabled());
        // A click on the other service button within the second counts for this one.
        w.now = 36010.0;
        w->runToolbarKey("Anma");
        w.now = 36010.4;
        w->runToolbarKey("TAnMa");
        QVERIFY(!w.visible("TAnMa"));
        for (const char* slider : {"Slider1", "Slider3"})
            QVERIFY(!debug->findChild<QSlider*>(slider)->isEnabled());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
