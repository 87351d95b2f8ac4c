// The main window as it comes up and its own commands: layout, lists, menus, the preferences
// it starts from and writes, lock, language switch, service gestures, help.

#include "support/UiTestSupport.h"

#include "app/Preferences.h"
#include "app/WriteChecks.h"
#include "codeplug/ToneTable.h"
#include "ui/widgets/ClickLabel.h"

#include <QHeaderView>
#include <QMenu>
#include <QProgressBar>
#include <QSlider>
#include <QToolBar>
#include <QUrl>

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
    void clickButton(const char* key, double at) {
        now = at;
        form->runToolbarKey(key);
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
    s.setListCell(2, ColRxTone, 60); // a DCS code
    s.setListCell(2, ColTxTone, 9);  // 88.5
    for (int col = ColPower; col <= ColScanAdd; ++col)
        s.setListCell(2, col, 1);
    s.SquelchLevel = 7;
    s.TimeOutTimer = 11;
    return s;
}

const QStringList kFunctionLists{"Combo2", "Combo3", "Combo9", "Combo6", "Combo7", "Combo4"};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void gridLayout() {
        Window w;
        auto* grid = w.find<FlexGrid>("Grid1");
        QCOMPARE(grid->rowCount(), 17);
        QCOMPARE(grid->columnCount(), 9);
        // Widths in pixels of 500, 1330, 1000, 1330, 1000, 800, 850, 1000, 900 twips; a style
        // may widen the narrow first column to its smallest section.
        const int widths[] = {33, 89, 67, 89, 67, 53, 57, 67, 60};
        QCOMPARE(grid->columnWidth(0),
                 std::max(33, grid->horizontalHeader()->minimumSectionSize()));
        for (int c = 1; c < 9; ++c)
            QCOMPARE(grid->columnWidth(c), widths[c]);
        QCOMPARE(grid->rowHeight(5), 20);
        QCOMPARE(RowTexts(grid, 0, 0),
                 (QStringList{"信道", "接收频率", "亚音频", "发射频率", "亚音频", "功率", "禁发",
                              "宽\\窄带", "扫描添加"}));
        for (int r = 1; r <= 16; ++r) {
            QCOMPARE(grid->text(r, 0), QString::number(r).rightJustified(2, u'0'));
            QCOMPARE(RowTexts(grid, r).join(""), QString());
            for (int c : {0, 3})
                QCOMPARE(grid->item(r, c)->background().color() == QColor(0xC0, 0xC0, 0xFF),
                         r % 2 == 0);
        }
        QCOMPARE(w.find<QComboBox>("Combo1")->currentText(), QString("400-470MHz"));
        QCOMPARE(w.find<QComboBox>("Combo1")->count(), 7);
        QCOMPARE(w->BandLow(), 400);
        QCOMPARE(w->BandHigh(), 470);
    }

    void functionSettings_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("shown"); // kFunctionLists, Combo3's last, captions
        QTest::newRow("Chinese") << 0
                                 << QString("中文|90 秒|4 级|使能|使能|1 秒|600 秒|KESTRA "
                                            "对讲机编程软件 V1.20|功能设置|发射超时")
                                        .split('|');
        QTest::newRow("English") << 1
                                 << QString("Chinese|90 S|Level 4|On|On|1 S|600 S|KESTRA Radio "
                                            "Software V1.20|Functions Setting|Time-out Timer:")
                                        .split('|');
    }
    void functionSettings() {
        QFETCH(int, language);
        Window w(QByteArray("\0\0", 2) + char(language), true);
        QTEST(
            Shown(w.form.get(), kFunctionLists + QStringList{"Combo3[39]", "", "Frame2", "Label5"}),
            "shown");
        QCOMPARE(w.find<QComboBox>("Combo3")->count(), 40);
        QCOMPARE(w.find<QComboBox>("Combo4")->count(), 11);
        QCOMPARE(w.find<QComboBox>("Combo9")->count(), 10);
        QCOMPARE(w->editor().TimeOutTimer, 5); // the lists hold what the editor holds
        QCOMPARE(w->editor().SquelchLevel, 4);
        QCOMPARE(w->editor().Language, language);
    }

    void menusAndToolbar() {
        Window w;
        for (const char* name : {"mnudtmf", "Key_enactment", "mnumainhelp"})
            QVERIFY2(!w.find<QAction>(name)->isEnabled(), name);
        QVERIFY(!w.find<QMenu>("mnuchannel")->menuAction()->isEnabled());
        for (const char* name :
             {"mnuNew", "mnuOpen", "mnuAssave", "mnuQuit", "mnureadFre", "mnuwriteFre", "mnusetin",
              "mnudebug", "mnutestfre", "mnulock", "mnuChinese", "mnuEnglish", "mnuabout"})
            QVERIFY2(w.find<QAction>(name)->isEnabled(), name);
        QCOMPARE(w.find<QAction>("mnureadFre")->shortcut(), QKeySequence("Ctrl+R"));
        QCOMPARE(w.find<QAction>("mnuwriteFre")->shortcut(), QKeySequence("Ctrl+W"));
        QCOMPARE(Shown(w.form.get(), QStringList{"mnumainhelp", "mnucom3"}),
                 (QStringList{"帮助主题  F1", "COM3(&3)"}));
        for (int n = 1; n <= 8; ++n)
            QVERIFY(!w.find<QAction>(QString("mnucom%1").arg(n))->isChecked());
        QVERIFY(!w.find<QAction>("mnulock")->isChecked());
        const QList<QAction*> buttons = w.find<QToolBar>("Toolbar1")->actions();
        QStringList keys;
        for (QAction* b : buttons)
            keys << b->data().toString();
        QCOMPARE(keys, (QStringList{"new", "open", "save", "", "read", "write", "TAnMa", "Anma"}));
        QVERIFY(buttons[3]->isSeparator());
        QCOMPARE(buttons[4]->toolTip(), QString("读频"));
        QVERIFY(!buttons[6]->isVisible() && !buttons[7]->isVisible());
        QVERIFY(!w.find<QProgressBar>("ProgressBar1")->isVisible());
    }

    void hiddenEditors() {
        Window w;
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
        QVERIFY(!w.find<QLineEdit>("Text1")->isVisible());
        QCOMPARE(w.find<QLineEdit>("Text1")->maxLength(), 9);
        auto* tones = w.find<QComboBox>("Combo8");
        QVERIFY(!tones->isVisible() && tones->isEditable());
        QCOMPARE(tones->count(), 261);
        QCOMPARE(Shown(w.form.get(), QStringList{"Combo8[0]", "Combo8[51]", "Combo8[260]"}),
                 (QStringList{"关闭", "D023N", "D754I"}));
        const QStringList lists[] = {
            {"低", "高"}, {"关闭", "载波"}, {"窄带", "宽带"}, {"无", "有"}};
        for (int col = 5; col <= 8; ++col) {
            auto* list = w.find<QComboBox>(QString("Combo5(%1)").arg(col));
            QVERIFY(!list->isVisible());
            QCOMPARE(QStringList({list->itemText(0), list->itemText(1)}), lists[col - 5]);
        }
    }

    void lock() {
        Window w;
        QAction* lock = w.find<QAction>("mnulock");
        for (bool locked : {true, false}) {
            lock->trigger();
            QCOMPARE(lock->isChecked(), locked);
            for (const char* name : {"Frame1", "Frame2", "Grid1"})
                QVERIFY2(w.find<QWidget>(name)->isEnabled() != locked, name);
            QVERIFY(w.find<QToolBar>("Toolbar1")->isEnabled()); // menus and toolbar stay usable
        }
        // Started locked: the model frame and grid only; a file opened fills the grid anyway.
        Window locked(QByteArray("\x01\x00\x00", 3), true);
        QVERIFY(locked.find<QAction>("mnulock")->isChecked());
        QVERIFY(!locked.find<QWidget>("Frame1")->isEnabled());
        QVERIFY(locked.find<QWidget>("Frame2")->isEnabled());
        QVERIFY(locked.find<QWidget>("Combo2")->isEnabled());
        locked->document().replace(WithChannels());
        QCOMPARE(locked.find<FlexGrid>("Grid1")->text(2, 1), QString("436.00000"));
        QVERIFY(!locked.find<QWidget>("Grid1")->isEnabled());
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
        QTest::newRow("all FF") << QByteArray("\xFF\xFF\xFF", 3) << false << 0 << 0;
    }
    void damagedPreferencesFile() {
        QFETCH(QByteArray, parameter);
        Window w(parameter, true);
        QTEST(w->isLocked(), "locked");
        QTEST(w->state().ComPortNumber, "port");
        QTEST(w->editor().Language, "language");
        // The dialogs exist whatever the file held, so a decode can always show its values.
        for (const char* name : {"Form2", "Form4", "Form5", "Form6", "Form7", "frmAbout"})
            QVERIFY2(w->findChild<QWidget*>(name), name);
    }

    void portFile_data() {
        QTest::addColumn<QByteArray>("parameter");
        QTest::addColumn<QByteArray>("port");
        QTest::addColumn<QString>("name"); // empty: no port by name
        const QByteArray none(3, '\0');
        QTest::newRow("device, one line") << none << QByteArray("/dev/ttyUSB0\n") << "/dev/ttyUSB0";
        QTest::newRow("UTF-8") << none << QByteArray("COM\xE2\x91\xA0") << "COM\u2460";
        QTest::newRow("256 bytes") << none << QByteArray(256, 'a') << QString(256, 'a');
        QTest::newRow("257 bytes") << none << QByteArray(257, 'a') << QString();
        QTest::newRow("not UTF-8") << none << QByteArray("/dev/tty\xFF\xFE") << QString();
        QTest::newRow("control character") << none << QByteArray("/dev/a\x01b") << QString();
        QTest::newRow("blank") << none << QByteArray(" \n") << QString();
        QTest::newRow("a port number wins")
            << QByteArray("\x00\x02\x00", 3) << QByteArray("/dev/ttyUSB0") << QString();
    }
    void portFile() {
        QFETCH(QByteArray, parameter);
        QFETCH(QByteArray, port);
        const Preferences p = ParsePreferences(parameter, port);
        QTEST(p.PortName, "name");
        QCOMPARE(ParsePreferences(SerializeParameter(p), p.PortName.toUtf8()), p); // reads back
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
        QTest::newRow("no INI file")
            << none << none << QByteArray("\xFF\0[[=\n\\", 7) << QString() << WriteChecks{};
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
            form->editor().Language = 1;
            form->findChild<QAction*>("mnulock")->setChecked(true);
            form->close();
        }
        QCOMPARE(ReadAll(dir.filePath("parameter")), QByteArray("\x01\x03\x01", 3));
    }

    void languageSwitch() {
        Window w;
        w->document().replace(WithChannels());
        auto* grid = w.find<FlexGrid>("Grid1");
        const QString dcs = grid->text(2, 2);
        auto* frame = w.find<QGroupBox>("Frame2");
        frame->setTitle("marker");
        w.trigger("mnuChinese"); // the active language: nothing is written
        QCOMPARE(frame->title(), QString("marker"));
        w.trigger("mnuEnglish");
        QCOMPARE(w->editor().Language, 1);
        QCOMPARE(RowTexts(grid, 1), (QStringList{"435.00000", "Off", "435.00000", "88.0", "Low",
                                                 "Carrier", "Narrow", "Yes"}));
        QCOMPARE(RowTexts(grid, 2, 2, 5), (QStringList{dcs, "436.00000", "88.5", "High"}));
        QVERIFY(grid->text(3, 5).isEmpty()); // empty rows stay empty
        QCOMPARE(grid->text(0, 1), QString("RX frequency"));
        QCOMPARE(Shown(w.form.get(),
                       kFunctionLists.mid(0, 3) + QStringList{"Frame2", "mnudtmf", "mnumainhelp"}),
                 (QStringList{"Chinese", "180 S", "Level 7", "Functions Setting",
                              "Optional function ", "The help topic  F1 "}));
        QCOMPARE(w.find<QAction>("read")->toolTip(), QString("Read frequency"));
        QCOMPARE(w.find<QComboBox>("Combo1")->currentIndex(), 0);
        QCOMPARE(w->editor().SquelchLevel, 7);
        frame->setTitle("marker");
        w.trigger("mnuEnglish");
        QCOMPARE(frame->title(), QString("marker"));
        w.trigger("mnuChinese");
        QCOMPARE(RowTexts(grid, 1, 2, 6), (QStringList{"关闭", "435.00000", "88.0", "低", "载波"}));
        QCOMPARE(grid->text(0, 0), QString("信道"));
    }

    void dialogsFollowTheLanguage() {
        Window w;
        QWidget* test = w->windowNamed("Form4");
        QCOMPARE(Shown(test, "mfgrid1@0"), QString("频道")); // not the design-time "信道"
        w.trigger("mnuEnglish");
        QCOMPARE(Shown(test, QStringList{"mfgrid1@1", ""}),
                 (QStringList{"RX Frequency", "Test Frequency"}));
        QCOMPARE(w->windowNamed("Form7")->windowTitle(), QString("Embedded Information"));
        QCOMPARE(w->windowNamed("frmAbout")->windowTitle(), QString("Help"));
        // The DTMF frame and the PTT code labels have Chinese texts only.
        QCOMPARE(Shown(w->windowNamed("Form5"), QStringList{"Label21", "Label1"}),
                 (QStringList{"DTMF 速率", "发射开始(16位)"}));
    }

    void serviceGesture_data() {
        // Clicks as label:second pairs; whether the mode is on afterwards.
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<bool>("on");
        QTest::newRow("three within 5 s")
            << QStringList{"Label5:0", "Label7:2", "Label1:5"} << true;
        QTest::newRow("any order") << QStringList{"Label1:0", "Label5:1", "Label7:1"} << true;
        QTest::newRow("spread over 6 s")
            << QStringList{"Label5:0", "Label7:3", "Label1:6"} << false;
        QTest::newRow("late click starts again")
            << QStringList{"Label5:0", "Label7:3", "Label1:6", "Label5:8", "Label7:10"} << true;
        QTest::newRow("one label thrice")
            << QStringList{"Label5:0", "Label5:1", "Label5:2"} << false;
        QTest::newRow("two labels only")
            << QStringList{"Label5:0", "Label7:1", "Label7:2"} << false;
    }
    void serviceGesture() {
        QFETCH(QStringList, clicks);
        QFETCH(bool, on);
        Clocked w;
        for (const QString& c : clicks)
            w.clickLabel(c.section(':', 0, 0), 36000.0 + c.section(':', 1).toDouble());
        QCOMPARE(w->state().ServiceMode, on);
        QCOMPARE(w.visible("Anma"), on);
        QVERIFY(!w.visible("TAnMa"));
    }

    void serviceButtons_data() {
        QTest::addColumn<QList<double>>("clicks");
        QTest::addColumn<bool>("off");
        QTest::newRow("single click") << QList<double>{10} << false;
        QTest::newRow("double click") << QList<double>{10, 10.6} << true;
        QTest::newRow("too slow") << QList<double>{10, 11.2} << false;
        QTest::newRow("slow then quick") << QList<double>{10, 11.2, 11.5} << true;
    }
    void serviceButtons() {
        QFETCH(QList<double>, clicks);
        QFETCH(bool, off);
        Clocked w;
        for (const char* label : {"Label5", "Label7", "Label1"})
            w.clickLabel(label, 36000.0);
        QVERIFY(w->state().ServiceMode);
        for (double t : clicks)
            w.clickButton("Anma", 36000.0 + t);
        QCOMPARE(w->state().ServiceMode, !off);
        QCOMPARE(w.visible("Anma"), !off);
        if (off) {
            QVERIFY(!w->state().GestureFlagA && !w->state().GestureFlagB &&
                    !w->state().GestureFlagC);
            for (const char* label : {"Label5", "Label7", "Label1"}) // the gesture works again
                w.clickLabel(label, 36100.0);
            QVERIFY(w.visible("Anma"));
        }
    }

    void relockDisablesCalibration() {
        Clocked w;
        QWidget* debug = w->windowNamed("Form2");
        w.clickLabel("Label3", 36000.0, debug);
        w.clickLabel("Label6", 36000.0, debug);
        QCOMPARE(w->editor().CalibrationWrite, 1);
        QVERIFY(w.visible("TAnMa"));
        QVERIFY(debug->findChild<QSlider*>("Slider1")->isEnabled());
        // A click on the other service button within the second counts for this one.
        w.clickButton("Anma", 36010.0);
        w.clickButton("TAnMa", 36010.4);
        QCOMPARE(w->editor().CalibrationWrite, 0);
        QVERIFY(!w.visible("TAnMa"));
        for (const char* slider : {"Slider1", "Slider3"})
            QVERIFY(!debug->findChild<QSlider*>(slider)->isEnabled());
    }

    void unknownToolbarKeyDoesNothing() {
        Window w;
        BoxAnswerer boxes;
        const EditorState before = w->editor();
        w->runToolbarKey("nothing");
        w->runToolbarKey("");
        QCOMPARE(boxes.count(), 0);
        QVERIFY(w->editor() == before);
    }

    void help() {
        Window w;
        QList<QUrl> opened;
        w->setUrlOpener([&](const QUrl& u) {
            opened << u;
            return true;
        });
        const QString path = w->helpFilePath();
        QCOMPARE(path, QCoreApplication::applicationDirPath() + "/TR-640 Software.CHM");
        QFile::remove(path);
        w->mnumainhelp();
        QVERIFY(opened.isEmpty()); // no file, nothing happens
        QVERIFY2(WriteAll(path, "help"), "the test program's folder must be writable");
        w->mnumainhelp();
        QFile::remove(path);
        QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(path)});
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
