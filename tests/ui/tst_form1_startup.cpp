// The main window as it comes up: layout, lists, menus and the preferences it starts from.

#include "support/UiTestSupport.h"

#include "app/Preferences.h"

#include "codeplug/ToneTable.h"
#include "ui/widgets/FlexGrid.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QToolBar>

using namespace tr640;
using namespace tr640::test;

class TestForm1Startup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void gridLayout();
    void functionSettings_data();
    void functionSettings();
    void menusAndToolbar();
    void hiddenEditors();
    void lockedStart();
    void damagedPreferencesFile_data();
    void damagedPreferencesFile();
    void portFile_data();
    void portFile();
    void preferencesWrittenOnExit();
};

void TestForm1Startup::gridLayout() {
    Window w;
    auto* grid = w.find<FlexGrid>("Grid1");
    QVERIFY(grid);
    QCOMPARE(grid->rowCount(), 17);
    QCOMPARE(grid->columnCount(), 9);
    const int widths[] = {500, 1330, 1000, 1330, 1000, 800, 850, 1000, 900};
    for (int c = 0; c < 9; ++c)
        QCOMPARE(grid->columnWidth(c), FlexGrid::TwipsToPixels(widths[c]));
    QCOMPARE(grid->rowHeight(5), FlexGrid::TwipsToPixels(300));
    const QStringList headings{"信道", "接收频率", "亚音频",   "发射频率", "亚音频",
                               "功率", "禁发",     "宽\\窄带", "扫描添加"};
    for (int c = 0; c < 9; ++c)
        QCOMPARE(grid->text(0, c), headings[c]);
    for (int r = 1; r <= 16; ++r) {
        QCOMPARE(grid->text(r, 0), QString::number(r).rightJustified(2, u'0'));
        for (int c = 1; c < 9; ++c)
            QVERIFY(grid->text(r, c).isEmpty());
        const QColor shade = grid->item(r, 3)->background().color();
        QCOMPARE(shade == QColor(0xC0, 0xC0, 0xFF), r % 2 == 0);
        QCOMPARE(grid->item(r, 0)->background().color() == QColor(0xC0, 0xC0, 0xFF), r % 2 == 0);
    }
    QCOMPARE(w.find<QComboBox>("Combo1")->currentText(), QString("400-470MHz"));
    QCOMPARE(w.find<QComboBox>("Combo1")->count(), 7);
    QCOMPARE(w->BandLow(), 400);
    QCOMPARE(w->BandHigh(), 470);
}

void TestForm1Startup::functionSettings_data() {
    QTest::addColumn<int>("language");
    QTest::addColumn<QStringList>("shown"); // Combo2, Combo3, Combo9, Combo6, Combo7, Combo4
    QTest::newRow("Chinese") << 0 << QStringList{"中文", "90 秒", "4 级", "使能", "使能", "1 秒"};
    QTest::newRow("English") << 1 << QStringList{"Chinese", "90 S", "Level 4", "On", "On", "1 S"};
}

void TestForm1Startup::functionSettings() {
    QFETCH(int, language);
    QFETCH(QStringList, shown);
    Window w(QByteArray("\0\0", 2) + char(language), true);
    const char* combos[] = {"Combo2", "Combo3", "Combo9", "Combo6", "Combo7", "Combo4"};
    for (int i = 0; i < 6; ++i)
        QCOMPARE(w.find<QComboBox>(combos[i])->currentText(), shown[i]);
    QCOMPARE(w.find<QComboBox>("Combo3")->count(), 40);
    QCOMPARE(w.find<QComboBox>("Combo3")->itemText(39),
             language ? QString("600 S") : QString("600 秒"));
    QCOMPARE(w.find<QComboBox>("Combo4")->count(), 11);
    QCOMPARE(w.find<QComboBox>("Combo9")->count(), 10);
    QCOMPARE(w->windowTitle(), language ? QString("KESTRA Radio Software V1.20")
                                        : QString("KESTRA 对讲机编程软件 V1.20"));
    QCOMPARE(w.find<QGroupBox>("Frame2")->title(),
             language ? QString("Functions Setting") : QString("功能设置"));
    QCOMPARE(w.find<QLabel>("Label5")->text(),
             language ? QString("Time-out Timer:") : QString("发射超时"));
    // The lists hold what the editor holds.
    const EditorState& e = w->editor();
    QCOMPARE(e.TimeOutTimer, 5);
    QCOMPARE(e.SquelchLevel, 4);
    QCOMPARE(e.Language, language);
}

void TestForm1Startup::menusAndToolbar() {
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
    QCOMPARE(w.find<QAction>("mnumainhelp")->text(), QString("帮助主题  F1"));
    QCOMPARE(w.find<QAction>("mnucom3")->text(), QString("COM3(&3)"));
    for (int n = 1; n <= 8; ++n)
        QVERIFY(!w.find<QAction>(QString("mnucom%1").arg(n))->isChecked());
    QVERIFY(!w.find<QAction>("mnulock")->isChecked());

    auto* bar = w.find<QToolBar>("Toolbar1");
    const QList<QAction*> buttons = bar->actions();
    QCOMPARE(buttons.size(), 8);
    const QStringList keys{"new", "open", "save", "", "read", "write", "TAnMa", "Anma"};
    for (int i = 0; i < 8; ++i)
        QCOMPARE(buttons[i]->data().toString(), keys[i]);
    QVERIFY(buttons[3]->isSeparator());
    QCOMPARE(buttons[4]->toolTip(), QString("读频"));
    QVERIFY(!buttons[6]->isVisible());
    QVERIFY(!buttons[7]->isVisible());
    QVERIFY(!w.find<QProgressBar>("ProgressBar1")->isVisible());
}

void TestForm1Startup::hiddenEditors() {
    Window w;
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
    QVERIFY(!w.find<QLineEdit>("Text1")->isVisible());
    QCOMPARE(w.find<QLineEdit>("Text1")->maxLength(), 9);
    auto* tones = w.find<QComboBox>("Combo8");
    QVERIFY(!tones->isVisible());
    QVERIFY(tones->isEditable());
    QCOMPARE(tones->count(), kToneListSize);
    QCOMPARE(tones->itemText(0), QString("关闭"));
    QCOMPARE(tones->itemText(51), QString("D023N"));
    QCOMPARE(tones->itemText(260), QString("D754I"));
    const QStringList lists[] = {{"低", "高"}, {"关闭", "载波"}, {"窄带", "宽带"}, {"无", "有"}};
    for (int col = 5; col <= 8; ++col) {
        auto* list = w.find<QComboBox>(QString("Combo5(%1)").arg(col));
        QVERIFY(list);
        QVERIFY(!list->isVisible());
        QCOMPARE(QStringList({list->itemText(0), list->itemText(1)}), lists[col - 5]);
    }
}

void TestForm1Startup::lockedStart() {
    Window w(QByteArray("\x01\x00\x00", 3), true);
    QVERIFY(w.find<QAction>("mnulock")->isChecked());
    QVERIFY(!w.find<QWidget>("Frame1")->isEnabled());
    QVERIFY(!w.find<QWidget>("Grid1")->isEnabled());
    QVERIFY(w.find<QWidget>("Frame2")->isEnabled());
    QVERIFY(w.find<QWidget>("Combo2")->isEnabled());
}

void TestForm1Startup::damagedPreferencesFile_data() {
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

void TestForm1Startup::damagedPreferencesFile() {
    QFETCH(QByteArray, parameter);
    QFETCH(bool, locked);
    QFETCH(int, port);
    QFETCH(int, language);
    Window w(parameter, true);
    QCOMPARE(w->isLocked(), locked);
    QCOMPARE(w->state().ComPortNumber, port);
    QCOMPARE(w->editor().Language, language);
    // The dialogs exist whatever the file held, so a decode can always show its values.
    for (const char* name : {"Form2", "Form4", "Form5", "Form6", "Form7", "frmAbout"})
        QVERIFY2(w->findChild<QWidget*>(name), name);
}

void TestForm1Startup::portFile_data() {
    QTest::addColumn<QByteArray>("parameter");
    QTest::addColumn<QByteArray>("port");
    QTest::addColumn<QString>("name"); // empty: no port by name
    const QByteArray none(3, '\0');
    QTest::newRow("a device, one line") << none << QByteArray("/dev/ttyUSB0\n") << "/dev/ttyUSB0";
    QTest::newRow("UTF-8") << none << QByteArray("COM\xE2\x91\xA0") << "COM\u2460";
    QTest::newRow("256 bytes") << none << QByteArray(256, 'a') << QString(256, 'a');
    QTest::newRow("257 bytes") << none << QByteArray(257, 'a') << QString();
    QTest::newRow("not UTF-8") << none << QByteArray("/dev/tty\xFF\xFE") << QString();
    QTest::newRow("control character") << none << QByteArray("/dev/a\x01b") << QString();
    QTest::newRow("blank") << none << QByteArray(" \n") << QString();
    QTest::newRow("a port number wins")
        << QByteArray("\x00\x02\x00", 3) << QByteArray("/dev/ttyUSB0") << QString();
}

void TestForm1Startup::portFile() {
    QFETCH(QByteArray, parameter);
    QFETCH(QByteArray, port);
    QFETCH(QString, name);
    const Preferences p = ParsePreferences(parameter, port);
    QCOMPARE(p.PortName, name);
    // What is saved reads back the same.
    QCOMPARE(ParsePreferences(SerializeParameter(p), SerializePort(p)), p);
}

void TestForm1Startup::preferencesWrittenOnExit() {
    QTemporaryDir dir;
    {
        Form1 form(Form1::Options{dir.path()});
        QVERIFY(QFile::exists(dir.filePath("parameter"))); // created at start
        form.state().ComPortNumber = 3;
        form.editor().Language = 1;
        form.findChild<QAction*>("mnulock")->setChecked(true);
        form.close();
    }
    QFile f(dir.filePath("parameter"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("\x01\x03\x01", 3));
}

QTEST_MAIN(TestForm1Startup)
#include "tst_form1_startup.moc"
