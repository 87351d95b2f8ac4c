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
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
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

QTEST_MAIN(TestDialogsInMain)
#include "tst_dialogs_in_main.moc"
