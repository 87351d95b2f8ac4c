// The debug parameters dialog and its unlock gesture.

#include "DialogTestSupport.h"

#include "ui/dialogs/Form2.h"
#include "ui/main/Form1.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace tr640;
using namespace tr640::test;

class TestForm2 : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void lockedUntilCalibrationWrite_data();
    void lockedUntilCalibrationWrite();
    void slidersAndReadOuts();
    void okStoresCloseDiscards_data();
    void okStoresCloseDiscards();
    void decodeShowsValues();
    void valueBeyondSliderKept_data();
    void valueBeyondSliderKept();
    void gesture_data();
    void gesture();
    void relockDisables();

private:
    QSlider* slider(const char* name) { return dialog->findChild<QSlider*>(name); }
    QString readOut(const char* name) { return dialog->findChild<QLabel*>(name)->text(); }
    void ok() { QTest::mouseClick(dialog->findChild<QPushButton*>("Command1"), Qt::LeftButton); }

    SharedState state;
    Form2* dialog = nullptr;
};

void TestForm2::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
}

void TestForm2::init() {
    state = SharedState();
    state.Editor.Settings.TxHighPower = 40;
    state.Editor.Settings.TxLowPower = 12;
    dialog = new Form2(state, nullptr);
    dialog->show();
}

void TestForm2::cleanup() {
    delete dialog;
    dialog = nullptr;
}

void TestForm2::lockedUntilCalibrationWrite_data() {
    QTest::addColumn<int>("calibrationWrite");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("0") << 0 << false;
    QTest::newRow("1") << 1 << true;
    QTest::newRow("other") << 7 << false;
}

void TestForm2::lockedUntilCalibrationWrite() {
    QFETCH(int, calibrationWrite);
    QFETCH(bool, enabled);
    state.Editor.CalibrationWrite = calibrationWrite;
    Form2 fresh(state, nullptr);
    fresh.show();
    auto* s1 = fresh.findChild<QSlider*>("Slider1");
    QCOMPARE(s1->isEnabled(), enabled);
    QCOMPARE(fresh.findChild<QSlider*>("Slider3")->isEnabled(), enabled);
    // A locked slider does not move; OK stores the values shown, unchanged.
    QTest::keyClick(s1, Qt::Key_End);
    QTest::mouseClick(fresh.findChild<QPushButton*>("Command1"), Qt::LeftButton);
    QCOMPARE(state.Editor.Settings.TxHighPower, enabled ? 63 : 40);
    QCOMPARE(state.Editor.Settings.TxLowPower, 12);
}

void TestForm2::slidersAndReadOuts() {
    QCOMPARE(slider("Slider1")->value(), 40);
    QCOMPARE(readOut("Lblpower1"), QStringLiteral("40"));
    QCOMPARE(readOut("Lblpower3"), QStringLiteral("12"));
    QCOMPARE(slider("Slider1")->maximum(), 63);
    QCOMPARE(slider("Slider1")->pageStep(), 5);
    state.Editor.CalibrationWrite = 1;
    Form2 unlocked(state, nullptr);
    unlocked.show();
    auto* s1 = unlocked.findChild<QSlider*>("Slider1");
    auto* s3 = unlocked.findChild<QSlider*>("Slider3");
    QTest::keyClick(s1, Qt::Key_End);
    QCOMPARE(unlocked.findChild<QLabel*>("Lblpower1")->text(), QStringLiteral("63"));
    QTest::keyClick(s3, Qt::Key_PageUp);
    QCOMPARE(unlocked.findChild<QLabel*>("Lblpower3")->text(), QStringLiteral("17"));
    QTest::keyClick(s3, Qt::Key_Left);
    QCOMPARE(unlocked.findChild<QLabel*>("Lblpower3")->text(), QStringLiteral("16"));
    QCOMPARE(state.Editor.Settings.TxHighPower, 40); // stored only on OK
}

void TestForm2::okStoresCloseDiscards_data() {
    QTest::addColumn<bool>("pressOk");
    QTest::newRow("OK") << true;
    QTest::newRow("title-bar close") << false;
}

void TestForm2::okStoresCloseDiscards() {
    QFETCH(bool, pressOk);
    state.Editor.CalibrationWrite = 1;
    Form2 unlocked(state, nullptr);
    unlocked.show();
    QTest::keyClick(unlocked.findChild<QSlider*>("Slider1"), Qt::Key_Home);
    if (pressOk)
        QTest::mouseClick(unlocked.findChild<QPushButton*>("Command1"), Qt::LeftButton);
    else
        unlocked.close();
    QVERIFY(unlocked.isHidden());
    QCOMPARE(state.Editor.Settings.TxHighPower, pressOk ? 0 : 40);
    unlocked.showDialog();
    QCOMPARE(unlocked.findChild<QSlider*>("Slider1")->value(), 0);
}

void TestForm2::decodeShowsValues() {
    state.Editor.CalibrationWrite = 1;
    Decode(state, ImageWith([](EditorState& e) {
               e.Settings.TxHighPower = 50;
               e.Settings.TxLowPower = 3;
           }));
    dialog->refreshFromStore();
    QCOMPARE(state.Editor.CalibrationWrite, 0);
    QCOMPARE(slider("Slider1")->value(), 50);
    QCOMPARE(readOut("Lblpower1"), QStringLiteral("50"));
    QCOMPARE(slider("Slider3")->value(), 3);
    QCOMPARE(readOut("Lblpower3"), QStringLiteral("3"));
    QVERIFY(!slider("Slider1")->isEnabled()); // shown even while locked
}

void TestForm2::valueBeyondSliderKept_data() {
    QTest::addColumn<bool>("unlocked");
    QTest::addColumn<int>("key"); // 0: no key
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("untouched") << false << 0 << 200 << "200";
    QTest::newRow("End at the end") << true << int(Qt::Key_End) << 63 << "63";
    QTest::newRow("moved down") << true << int(Qt::Key_Left) << 62 << "62";
}

void TestForm2::valueBeyondSliderKept() {
    QFETCH(bool, unlocked);
    QFETCH(int, key);
    QFETCH(int, stored);
    QFETCH(QString, shown);
    const QByteArray image = WithBytes(ImageWith([](EditorState&) {}), 0x173, "\xC8"); // 200
    Decode(state, image);
    QCOMPARE(state.Editor.Settings.TxHighPower, 200);
    state.Editor.CalibrationWrite = unlocked ? 1 : 0;
    Form2 form(state, nullptr);
    form.show();
    auto* s1 = form.findChild<QSlider*>("Slider1");
    QCOMPARE(s1->value(), 63);
    QCOMPARE(form.findChild<QLabel*>("Lblpower1")->text(), QStringLiteral("200"));
    if (key)
        QTest::keyClick(s1, Qt::Key(key));
    QCOMPARE(form.findChild<QLabel*>("Lblpower1")->text(), shown);
    QTest::mouseClick(form.findChild<QPushButton*>("Command1"), Qt::LeftButton);
    QCOMPARE(state.Editor.Settings.TxHighPower, stored);
    QCOMPARE(EncodeImage(state.Editor).at(0x173), char(stored));
}

void TestForm2::gesture_data() {
    // Clicks as (label, seconds since midnight); unlocked after the last one or not.
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QList<double>>("times");
    QTest::addColumn<bool>("unlocks");
    QTest::newRow("both within 5 s")
        << QStringList{"Label3", "Label6"} << QList<double>{1000, 1004.4} << true;
    QTest::newRow("other order") << QStringList{"Label6", "Label3"} << QList<double>{1000, 1005}
                                 << true;
    QTest::newRow("6 s apart") << QStringList{"Label3", "Label6"} << QList<double>{1000, 1006}
                               << false;
    QTest::newRow("6 s apart, then Label3 again")
        << QStringList{"Label3", "Label6", "Label3"} << QList<double>{1000, 1006, 1009} << true;
    QTest::newRow("same label twice")
        << QStringList{"Label3", "Label3"} << QList<double>{1000, 1001} << false;
    QTest::newRow("end marks are no part")
        << QStringList{"Label3", "Label8", "Label7"} << QList<double>{1000, 1001, 1002} << false;
}

void TestForm2::gesture() {
    QFETCH(QStringList, labels);
    QFETCH(QList<double>, times);
    QFETCH(bool, unlocks);
    QTemporaryDir preferences;
    Form1 main(Form1::Options{preferences.path()});
    double now = 0;
    main.state().Clock = [&now] { return now; };
    auto* form2 = qobject_cast<Form2*>(main.windowNamed("Form2"));
    QVERIFY(form2);
    form2->showDialog();
    QAction* tanma = main.findChild<QAction*>("TAnMa");
    QVERIFY(!tanma->isVisible());
    QSignalSpy unlocked(form2, &Form2::calibrationUnlocked);
    for (int i = 0; i < labels.size(); ++i) {
        now = times[i];
        QTest::mouseClick(form2->findChild<QLabel*>(labels[i]), Qt::LeftButton);
        if (i + 1 < labels.size())
            QCOMPARE(unlocked.size(), 0);
    }
    QCOMPARE(unlocked.size(), unlocks ? 1 : 0);
    QCOMPARE(main.state().Editor.CalibrationWrite, unlocks ? 1 : 0);
    QCOMPARE(form2->findChild<QSlider*>("Slider1")->isEnabled(), unlocks);
    QCOMPARE(form2->findChild<QSlider*>("Slider3")->isEnabled(), unlocks);
    QCOMPARE(tanma->isVisible(), unlocks);
}

void TestForm2::relockDisables() {
    state.Editor.CalibrationWrite = 1;
    Form2 form(state, nullptr);
    form.disableSliders();
    QVERIFY(!form.findChild<QSlider*>("Slider1")->isEnabled());
    QVERIFY(!form.findChild<QSlider*>("Slider3")->isEnabled());
}

QTEST_MAIN(TestForm2)
#include "tst_form2.moc"
