// The main window's own commands: lock, the preferences it starts from and writes, the language
// switch and the language pass, the localised message box, service gestures.

#include "support/UiTestSupport.h"

#include "app/Preferences.h"
#include "app/WriteChecks.h"
#include "codeplug/ChannelRules.h"
#include "i18n/LocalisedMessageBox.h"
#include "ui/main/TransferController.h"
#include "ui/widgets/ClickLabel.h"

#include <QMetaEnum>
#include <QSlider>
#include <QToolBar>

using namespace tr640;
using namespace tr640::test;

namespace {

const QByteArray kIni("[port]\nname=/dev/ttyS1\n[write]\nbackup-before-write=true\n"
                      "verify-after-write=true\n");

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

    // The files a window starts from: `parameter` (lock, port number, language), and
    // preferences.ini beside it; `port` and `writechecks` of earlier versions are carried into
    // it once and removed. Rows: the four files, percent-encoded ("-": none) | locked | port
    // number | English | port name | write checks (backup, verify, preview). "INI": a sound
    // preferences.ini.
    void preferencesRead_data() {
        AddRows({"empty parameter: |-|-|-|0|0|0||000", "short parameter: %01|-|-|-|1|0|0||000",
                 "port 3, English: %00%03%01|-|-|-|0|3|1||000",
                 "old files: -|/dev/ttyUSB1\n|verify-after-write=1\npreview-before-write=1\n|-|0|0|"
                 "0|/dev/ttyUSB1|011",
                 "port 9: %00%09%01|-|-|-|0|0|1||000", "language 2: %02%05%02|-|-|-|0|5|0||000",
                 "old files win: -|COM9|backup-before-write=0|INI|0|0|0|COM9|000",
                 "bad old port file: -|a%01|-|INI|0|0|0||110",
                 "INI file: -|-|-|INI|0|0|0|/dev/ttyS1|110",
                 "damaged INI values: -|-|-|[port]\nname=a,b\n[write]\nbackup-before-write=1\n"
                 "verify-after-write=yes\npreview-before-write=\"true\n|0|0|0||000",
                 "port file of 256 bytes: -|a{256}|-|-|0|0|0|a{256}|000",
                 "port file of 257 bytes: -|a{257}|-|-|0|0|0||000",
                 "port file not UTF-8: -|/dev/tty%FF%FE|-|-|0|0|0||000"});
    }
    void preferencesRead() {
        QFETCH(QStringList, row);
        QTemporaryDir dir;
        const char* files[] = {"parameter", "port", "writechecks", "preferences.ini"};
        for (int i = 0; i < 4; ++i) {
            const QByteArray bytes =
                row[i] == "INI" ? kIni : QByteArray::fromPercentEncoding(row[i].toUtf8());
            QVERIFY(row[i] == "-" || WriteAll(dir.filePath(files[i]), bytes));
        }
        const WriteChecks checks{row[8][0] == '1', row[8][1] == '1', row[8][2] == '1'};
        const std::unique_ptr<Form1> form = OpenMainWindow(dir.path());
        QCOMPARE(form->findChild<QAction*>("mnulock")->isChecked(), row[4] == "1");
        QCOMPARE(form->state().ComPortNumber, row[5].toInt());
        QCOMPARE(Shown(form.get(), "Frame2"), row[6] == "1" ? "Functions Setting" : "功能设置");
        QCOMPARE(form->state().PortName, row[7]);
        QCOMPARE(form->transfer().writeChecks(), checks);
        QVERIFY(!QFile::exists(dir.filePath("port")));
        QVERIFY(!QFile::exists(dir.filePath("writechecks")));
        QCOMPARE(LoadPreferences(dir.path()).PortName, row[7]); // carried over once
        QCOMPARE(LoadWriteChecks(dir.path()), checks);
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

    void languageSwitch() { // a typed tone's survival is tst_grid_editing's
        Window w;
        EditorState s;
        FillNewChannel(s, 2, s.cell(2, ColRxFrequency) = "436.00000");
        s.setListCell(2, ColRxTone, 60); // D053N
        s.SquelchLevel = 7;
        s.TimeOutTimer = 11;
        w.open(s);
        w.trigger("mnuEnglish");
        QCOMPARE(RowTexts(w.grid(), 2, 2, 8),
                 (QStringList{"D053N", "436.00000", "Off", "High", "Off", "Wide", "Yes"}));
        QVERIFY(w.grid()->text(3, 5).isEmpty()); // empty rows stay empty
        QCOMPARE(Shown(w.form.get(), QStringList{"Combo2", "Combo3", "Combo9", "Grid1@1"}),
                 (QStringList{"Chinese", "180 S", "Level 7", "RX frequency"}));
        w.trigger("mnuChinese");
        QCOMPARE(RowTexts(w.grid(), 2, 4, 6), (QStringList{"关闭", "高", "关闭"}));
    }

    // Rows: clicks at a second of the window's clock, "label:second" on the window,
    // "Form2/label:second" on the debug dialog, "key:second" on a toolbar key | the service key
    // shown | the test mode key shown | the calibration sliders usable.
    void serviceGesture_data() {
        AddRows({"three within 5 s: Label5:0,Label7:2,Label1:5|1|0|0",
                 "spread over 6 s: Label5:0,Label7:3,Label1:6|0|0|0",
                 "late click starts again: Label5:0,Label7:3,Label1:6,Label5:8,Label7:10|1|0|0",
                 "one label thrice: Label5:0,Label5:1,Label5:2|0|0|0",
                 "calibration: Form2/Label3:0,Form2/Label6:0|0|1|1",
                 // A click on the other service key within the second counts for this one.
                 "relock: Form2/Label3:0,Form2/Label6:0,Anma:10,TAnMa:10.4|0|0|0"});
    }
    void serviceGesture() {
        QFETCH(QStringList, row);
        Window w;
        double now = 0;
        w->state().Clock = [&now] { return now; };
        QWidget* debug = w->windowNamed("Form2");
        for (const QString& click : row[0].split(',')) {
            now = 36000.0 + click.section(':', 1).toDouble();
            const QString name = click.section(':', 0, 0);
            if (name.startsWith("Form2/"))
                QTest::mouseClick(debug->findChild<ClickLabel*>(name.mid(6)), Qt::LeftButton);
            else if (name.startsWith("Label"))
                QTest::mouseClick(w.find<ClickLabel>(name), Qt::LeftButton);
            else
                w->runToolbarKey(name);
        }
        QCOMPARE(w.find<QAction>("Anma")->isVisible(), row[1] == "1");
        QCOMPARE(w.find<QAction>("TAnMa")->isVisible(), row[2] == "1");
        for (const char* slider : {"Slider1", "Slider3"})
            QCOMPARE(debug->findChild<QSlider*>(slider)->isEnabled(), row[3] == "1");
    }

    // The main window's table on a window of a label and a toolbar of six buttons: caption and
    // the last button's tooltip, for languages 0 and 1 only.
    void languagesOtherThanZeroAndOneWriteNothing_data() {
        AddRows({"Chinese: 0|机型选择|写频", "English: 1|Model|Write frequency",
                 "2: 2|design|design", "-1: -1|design|design"});
    }
    void languagesOtherThanZeroAndOneWriteNothing() {
        QFETCH(QStringList, row);
        const int language = row[0].toInt();
        QWidget window;
        auto* label = new QLabel("design", &window);
        label->setObjectName("Frame1");
        auto* bar = new QToolBar(&window);
        bar->setObjectName("Toolbar1");
        for (int i = 0; i < 6; ++i)
            bar->addAction("design")->setToolTip("design");
        int looked = 0;
        ApplyLanguage(language, [&](const QString& name) -> QWidget* {
            ++looked;
            return name == "Form1" ? &window : nullptr;
        });
        QCOMPARE(label->text(), row[1]);
        bar->actions().last()->setText(QString()); // the tooltip is its own, not the caption
        QCOMPARE(bar->actions().last()->toolTip(), row[2]);
        QCOMPARE(looked > 0, language == 0 || language == 1); // no dialog is made for others
    }

    // Rows "window|control|Chinese|English"; the control as Shown() takes it.
    void dialogTexts_data() {
        AddRows({"Form2||调试参数|Debug Parameters", "Form2|Frame1|发射高功率|TX-High Power",
                 "Form4|mfgrid1@1|接收频率|RX Frequency", "Form5|Check3|取消操作|Cancel Operation",
                 "Form5|Combo15[3]|优先+当前|priority+Talk Back",
                 // One text in both languages.
                 "Form5|Label28|自动复位定时器|自动复位定时器", "Form5|Frame1|VOX|VOX",
                 "Form6|Combo1[8]|照明灯开关|Scrambler", "Form7||嵌入信息|Embedded Information",
                 "frmAbout|Label2|发布：2012.2|Issue：2012.4",
                 "frmAbout|lblDescription|TR-640 编程软件项目开发 · 自由软件，GPL-3.0 或更高版本|"
                 "Developed by the TR-640 programming software project · free software, GPL-3.0 or "
                 "later"});
    }
    void dialogTexts() {
        QFETCH(QStringList, row);
        Window w;
        for (int language : {English, Chinese, English}) {
            w->editor().Language = language;
            w->ApplyLanguage();
            QCOMPARE(Shown(w->windowNamed(row[0]), row[1]), row[language == English ? 3 : 2]);
        }
    }

    // Rows: style | language | buttons, sorted (the order is the platform's) | icon | pressed |
    // result.
    void messageBox_data() {
        AddRows({"16 zh: 16|0|确定|Critical|确定|1", "36 en no: 36|1|No,Yes|Question|No|7",
                 "64 en: 64|1|OK|Information|OK|1", "305 zh cancel: 305|0|取消,确定|Warning|取消|2",
                 "traditional: 3|2|取消,否,是|NoIcon|取消|2",
                 "abort retry ignore: 2|2|忽略,放棄,重試|NoIcon|重試|4"});
    }
    void messageBox() {
        QFETCH(QStringList, row);
        BoxAnswerer boxes({row[4]});
        QCOMPARE(LocalisedMessageBox(nullptr, row[1].toInt(), "question", row[0].toUInt()),
                 row[5].toInt());
        QCOMPARE(boxes.count(), 1);
        QStringList shown = boxes.seen()[0].buttons;
        shown.sort();
        QCOMPARE(shown.join(u','), row[2]);
        QCOMPARE(QString(QMetaEnum::fromType<QMessageBox::Icon>().valueToKey(boxes.seen()[0].icon)),
                 row[3]);
        QCOMPARE(boxes.text(), QString("question"));
    }

    void messageBoxDefaultButton_data() {
        AddRows({"305 defaults to Cancel: 305|2", "36 defaults to Yes: 36|6"});
    }
    void messageBoxDefaultButton() {
        QFETCH(QStringList, row);
        QTimer::singleShot(20, [] { // Enter presses the default button
            if (QWidget* box = QApplication::activeModalWidget())
                QTest::keyClick(box, Qt::Key_Return);
        });
        QCOMPARE(LocalisedMessageBox(nullptr, 0, "x", row[0].toUInt()), row[1].toInt());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
