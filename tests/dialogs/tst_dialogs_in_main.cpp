// The dialogs as the main window creates, shows, translates and refreshes them.

#include "DialogTestSupport.h"

#include "codeplug/BiText.h"

#include "ui/dialogs/CellEditGrid.h"
#include "ui/dialogs/Form2.h"
#include "ui/dialogs/Form4.h"
#include "ui/dialogs/Form5.h"
#include "ui/dialogs/Form6.h"
#include "ui/dialogs/Form7.h"
#include "ui/dialogs/frmAbout.h"
#include "ui/main/Form1.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace tr640;
using namespace tr640::test;

namespace {
const char* const kDialogs[] = {"Form2", "Form4", "Form5", "Form6", "Form7", "frmAbout"};
}

class TestDialogsInMain : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void createdHiddenByTheFirstPass();
    void menusShowDialogs();
    void languageSwitchKeepsSelections();
    void decodeRefreshesEveryDialog();
    void languagePass_data();
    void languagePass();

private:
    template <typename T> T* dialog(const char* name) {
        return qobject_cast<T*>(main->windowNamed(QLatin1String(name)));
    }

    QTemporaryDir preferences;
    Form1* main = nullptr;
};

void TestDialogsInMain::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(preferences.isValid());
}

void TestDialogsInMain::init() {
    main = new Form1(Form1::Options{preferences.path()});
}

void TestDialogsInMain::cleanup() {
    delete main;
    main = nullptr;
}

void TestDialogsInMain::createdHiddenByTheFirstPass() {
    for (const char* name : kDialogs) {
        auto* d = main->findChild<SettingsDialog*>(QLatin1String(name));
        QVERIFY2(d, name);
        QVERIFY2(d->isHidden(), name);
        QCOMPARE(d->parentWidget(), main);
    }
    auto* grid = dialog<Form4>("Form4")->findChild<CellEditGrid*>("mfgrid1");
    QCOMPARE(grid->text(0, 0), QStringLiteral("频道"));
    auto* form5 = dialog<Form5>("Form5");
    QCOMPARE(form5->findChild<QLabel*>("Label11")->text(), QStringLiteral("复制"));
    QCOMPARE(form5->findChild<QComboBox*>("Combo10")->itemText(1), QStringLiteral("打开"));
    QCOMPARE(form5->findChild<QComboBox*>("Combo13")->itemText(0), QStringLiteral("空"));
    QCOMPARE(dialog<Form2>("Form2")->findChild<QLabel*>("Lblpower1")->text(), QStringLiteral("63"));
}

void TestDialogsInMain::menusShowDialogs() {
    const std::pair<const char*, const char*> items[] = {{"mnusetin", "Form7"},
                                                         {"mnudebug", "Form2"},
                                                         {"mnutestfre", "Form4"},
                                                         {"mnuabout", "frmAbout"}};
    for (const auto& [item, name] : items) {
        main->findChild<QAction*>(QLatin1String(item))->trigger();
        QVERIFY2(main->windowNamed(QLatin1String(name))->isVisible(), name);
        QVERIFY(!qobject_cast<QDialog*>(main->windowNamed(QLatin1String(name)))->isModal());
    }
    QVERIFY(!main->findChild<QAction*>("mnudtmf")->isEnabled());
    QVERIFY(!main->findChild<QAction*>("Key_enactment")->isEnabled());
}

void TestDialogsInMain::languageSwitchKeepsSelections() {
    auto* form5 = dialog<Form5>("Form5");
    auto* form6 = dialog<Form6>("Form6");
    form5->findChild<QComboBox*>("Combo11")->setCurrentIndex(2);
    form6->findChild<QComboBox*>("Combo2")->setCurrentIndex(8);
    main->editor().Language = English;
    main->ApplyLanguage();
    QCOMPARE(form5->findChild<QComboBox*>("Combo11")->currentText(), QStringLiteral("Selected"));
    QCOMPARE(form5->findChild<QLabel*>("Label1")->text(), QStringLiteral("发射开始(16位)"));
    QCOMPARE(form5->findChild<QLabel*>("Label28")->text(), QStringLiteral("自动复位定时器"));
    QCOMPARE(form6->findChild<QComboBox*>("Combo2")->currentText(), QStringLiteral("Scrambler"));
    QCOMPARE(dialog<Form7>("Form7")->windowTitle(), QStringLiteral("Embedded Information"));
    QCOMPARE(dialog<Form2>("Form2")->findChild<QGroupBox*>("Frame2")->title(),
             QStringLiteral("TX-Low Power"));
    auto* about = dialog<frmAbout>("frmAbout");
    QCOMPARE(about->windowTitle(), QStringLiteral("Help"));
    QCOMPARE(about->findChild<QLabel*>("lblVersion")->text(), QStringLiteral("English version"));
    main->editor().Language = Chinese;
    main->ApplyLanguage();
    QCOMPARE(form6->findChild<QComboBox*>("Combo2")->currentText(), QStringLiteral("照明灯开关"));
    QCOMPARE(form5->findChild<QComboBox*>("Combo11")->currentIndex(), 2);
    QCOMPARE(dialog<Form4>("Form4")->findChild<CellEditGrid*>("mfgrid1")->text(0, 2),
             QStringLiteral("发射频率"));
}

void TestDialogsInMain::decodeRefreshesEveryDialog() {
    dialog<Form7>("Form7")->findChild<QLineEdit*>("Text1")->setText("left by the user");
    const QByteArray image = ImageWith([](EditorState& e) {
        e.Settings.EmbeddedMessage[0] = "DECODED";
        e.Settings.TestRxFrequency[4] = "145.00625";
        e.Settings.TxLowPower = 21;
        e.Settings.VoxGainLevel = "9";
        e.Settings.Pf2Function = 6;
    });
    DecodeImage(main->editor(), image);
    main->showEditorState();
    QCOMPARE(dialog<Form7>("Form7")->findChild<QLineEdit*>("Text1")->text(),
             QStringLiteral("DECODED"));
    QCOMPARE(dialog<Form4>("Form4")->findChild<CellEditGrid*>("mfgrid1")->text(5, 1),
             QStringLiteral("145.00625"));
    QCOMPARE(dialog<Form2>("Form2")->findChild<QSlider*>("Slider3")->value(), 21);
    QCOMPARE(dialog<Form5>("Form5")->findChild<QComboBox*>("Combo7")->currentIndex(), 9);
    QCOMPARE(dialog<Form6>("Form6")->findChild<QComboBox*>("Combo2")->currentIndex(), 6);
}

// Rows: window, control, Chinese, English. The control is "" for the window caption,
// "Combo6[1]" for a list item, "mfgrid1@0" for a heading cell, otherwise a caption.
void TestDialogsInMain::languagePass_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("zh");
    QTest::addColumn<QString>("en");
    const auto row = [](const char* w, const char* c, const char* zh, const char* en) {
        QTest::addRow("%s %s", w, c) << w << c << QString::fromUtf8(zh) << QString::fromUtf8(en);
    };
    row("Form2", "", "调试参数", "Debug Parameters");
    row("Form2", "Frame1", "发射高功率", "TX-High Power");
    row("Form2", "Frame2", "发射低功率", "TX-Low Power");
    row("Form2", "Label3", "最小", "Low");
    row("Form2", "Label6", "最小", "Low");
    row("Form2", "Label7", "最大", "High");
    row("Form2", "Label8", "最大", "High");
    row("Form2", "Command1", "确定", "OK");
    row("Form4", "", "测试频率", "Test Frequency");
    row("Form4", "mfgrid1@0", "频道", "Channel");
    row("Form4", "mfgrid1@1", "接收频率", "RX Frequency");
    row("Form4", "mfgrid1@2", "发射频率", "TX Frequency");
    row("Form4", "Command2", "取消", "Cancel");
    row("Form5", "", "可选功能", "Optional Function");
    row("Form5", "Frame2", "扫描", "Scan");
    row("Form5", "Check3", "取消操作", "Cancel Operation");
    row("Form5", "Check4", "接收时禁止VOX", "VOX Inhibit On Reveive");
    row("Form5", "Label8", "VOX功能", "VOX Function");
    row("Form5", "Label9", "VOX延迟时间", "VOX Delay time[S]");
    row("Form5", "Label11", "复制", "Duplicate");
    row("Form5", "Label17", "回扫时间A[秒]", "Look Back Time A[S]");
    row("Form5", "Label19", "扫描接收恢复延时时间(秒)", "Dropout delay time[S]");
    row("Form5", "Label20", "扫描发射恢复延时时间(秒)", "TX Dwell time[S]");
    row("Form5", "Combo4[2]", "两者", "Both");
    row("Form5", "Combo6[1]", "打开", "On");
    row("Form5", "Combo7[0]", "关闭", "Off");
    row("Form5", "Combo10[1]", "打开", "On");
    row("Form5", "Combo13[0]", "空", "Empty");
    row("Form5", "Combo15[3]", "优先+当前", "priority+Talk Back");
    // One text in both languages: the frames, the PTT labels and the DTMF part.
    row("Form5", "Frame1", "VOX", "VOX");
    row("Form5", "Label4", "PTT ID", "PTT ID");
    row("Form5", "Label1", "发射开始(16位)", "发射开始(16位)");
    row("Form5", "Label12", "发射结束(16位)", "发射结束(16位)");
    row("Form5", "Label13", "ID码", "ID码");
    row("Form5", "Frame3", "DTMF", "DTMF");
    row("Form5", "Label21", "DTMF 速率", "DTMF 速率");
    row("Form5", "Combo20[1]", "使能", "使能");
    row("Form5", "Combo19[0]", "D码", "D码");
    row("Form5", "mfgrid1@1", "自动拨号存储器", "自动拨号存储器");
    row("Form6", "", "键设定", "Keys Set");
    row("Form6", "Combo1[1]", "OFF", "None");
    row("Form6", "Combo1[8]", "照明灯开关", "Scrambler");
    row("Form6", "Combo2[5]", "监听瞬时", "Monitor Monentary");
    row("Form6", "Combo2[11]", "暂时删除", "temporary Delete");
    row("Form6", "Label1", "PF1", "PF1");
    row("Form7", "", "嵌入信息", "Embedded Information");
    row("Form7", "Command1", "确定", "OK");
    row("frmAbout", "", "Help", "Help");
    row("frmAbout", "lblTitle", "KESTRA 对讲机编程软件", "KESTRA Radio Software");
    row("frmAbout", "lblVersion", "简体中文版", "English version");
    row("frmAbout", "Label2", "发布：2012.2", "Issue：2012.4");
    row("frmAbout", "Label3", "版本号:1.20", "Version:1.20");
    row("frmAbout", "lblDescription", "TR-640 编程软件项目开发",
        "Developed by the TR-640 programming software project");
    row("frmAbout", "cmdOK", "确定", "OK");
}

void TestDialogsInMain::languagePass() {
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QString, zh);
    QFETCH(QString, en);
    QWidget* w = main->windowNamed(window);
    const auto shown = [&]() -> QString {
        if (control.isEmpty())
            return w->windowTitle();
        if (control.contains(u'@')) {
            const QStringList p = control.split(u'@');
            return w->findChild<QTableWidget*>(p[0])->item(0, p[1].toInt())->text();
        }
        if (control.contains(u'[')) {
            const QString name = control.section(u'[', 0, 0);
            const int item = control.section(u'[', 1).chopped(1).toInt();
            return w->findChild<QComboBox*>(name)->itemText(item);
        }
        QObject* c = w->findChild<QObject*>(control);
        if (auto* g = qobject_cast<QGroupBox*>(c))
            return g->title();
        if (auto* b = qobject_cast<QAbstractButton*>(c))
            return b->text();
        return qobject_cast<QLabel*>(c)->text();
    };
    for (int language : {English, Chinese, English}) {
        main->editor().Language = language;
        main->ApplyLanguage();
        QCOMPARE(shown(), language == English ? en : zh);
    }
}

QTEST_MAIN(TestDialogsInMain)
#include "tst_dialogs_in_main.moc"
