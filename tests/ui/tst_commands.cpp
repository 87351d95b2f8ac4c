// The main window's own commands: language switch, lock, service mode, toolbar, help.

#include "support/UiTestSupport.h"

#include "codeplug/ToneTable.h"
#include "ui/widgets/ClickLabel.h"
#include "ui/widgets/FlexGrid.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
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
    void clickLabel(const char* name, double at) {
        now = at;
        QTest::mouseClick(find<ClickLabel>(name), Qt::LeftButton);
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
    s.setListCell(1, ColPower, 0);
    s.setListCell(1, ColBclo, 1);
    s.setListCell(1, ColBandwidth, 0);
    s.setListCell(1, ColScanAdd, 1);
    s.cell(2, ColRxFrequency) = s.cell(2, ColTxFrequency) = "436.00000";
    s.setListCell(2, ColRxTone, 60); // D026N... a DCS code
    s.setListCell(2, ColTxTone, 9);  // 88.5
    for (int col = ColPower; col <= ColScanAdd; ++col)
        s.setListCell(2, col, 1);
    s.SquelchLevel = 7;
    s.TimeOutTimer = 11;
    return s;
}

} // namespace

class TestCommands : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void languageSwitchRerendersTheGrid();
    void languageSwitchKeepsSelections();
    void activeLanguageDoesNothing();
    void dialogsFollowTheLanguage();
    void lockTwice();
    void lockedWindowStillReads();
    void serviceGesture_data();
    void serviceGesture();
    void serviceButtons_data();
    void serviceButtons();
    void relockDisablesCalibration();
    void unknownToolbarKeyDoesNothing();
    void help();
};

void TestCommands::languageSwitchRerendersTheGrid() {
    Window w;
    w->replaceEditor(WithChannels());
    auto* grid = w.find<FlexGrid>("Grid1");
    const QString d = grid->text(2, 2);
    w.find<QAction>("mnuEnglish")->trigger();
    QCOMPARE(w->editor().Language, 1);
    const QStringList row1{"435.00000", "Off",     "435.00000", "88.0",
                           "Low",       "Carrier", "Narrow",    "Yes"};
    for (int col = 1; col <= 8; ++col)
        QCOMPARE(grid->text(1, col), row1[col - 1]);
    QCOMPARE(grid->text(2, 2), d);
    QCOMPARE(grid->text(2, 4), QString("88.5"));
    QCOMPARE(grid->text(2, 5), QString("High"));
    QVERIFY(grid->text(3, 5).isEmpty()); // empty rows stay empty
    QCOMPARE(grid->text(0, 1), QString("RX frequency"));
    w.find<QAction>("mnuChinese")->trigger();
    QCOMPARE(grid->text(1, 2), QString("关闭"));
    QCOMPARE(grid->text(1, 4), QString("88.0"));
    QCOMPARE(grid->text(1, 6), QString("载波"));
    QCOMPARE(grid->text(0, 0), QString("信道"));
}

void TestCommands::languageSwitchKeepsSelections() {
    Window w;
    w->replaceEditor(WithChannels());
    w.find<QAction>("mnuEnglish")->trigger();
    QCOMPARE(w.find<QComboBox>("Combo9")->currentText(), QString("Level 7"));
    QCOMPARE(w.find<QComboBox>("Combo3")->currentText(), QString("180 S"));
    QCOMPARE(w.find<QComboBox>("Combo2")->currentText(), QString("Chinese"));
    QCOMPARE(w.find<QComboBox>("Combo1")->currentIndex(), 0);
    QCOMPARE(w->editor().SquelchLevel, 7);
    QCOMPARE(w.find<QAction>("mnudtmf")->text(), QString("Optional function "));
    QCOMPARE(w.find<QAction>("mnumainhelp")->text(), QString("The help topic  F1 "));
    QCOMPARE(w.find<QAction>("read")->toolTip(), QString("Read frequency"));
}

void TestCommands::activeLanguageDoesNothing() {
    Window w;
    auto* frame = w.find<QGroupBox>("Frame2");
    frame->setTitle("marker");
    w.find<QAction>("mnuChinese")->trigger();
    QCOMPARE(frame->title(), QString("marker"));
    w.find<QAction>("mnuEnglish")->trigger();
    QCOMPARE(frame->title(), QString("Functions Setting"));
    frame->setTitle("marker");
    w.find<QAction>("mnuEnglish")->trigger();
    QCOMPARE(frame->title(), QString("marker"));
}

void TestCommands::dialogsFollowTheLanguage() {
    Window w;
    auto* test = w->windowNamed("Form4");
    auto* testGrid = test->findChild<FlexGrid*>("mfgrid1");
    QVERIFY(testGrid);
    QCOMPARE(testGrid->text(0, 0), QString("频道")); // not the design-time "信道"
    w.find<QAction>("mnuEnglish")->trigger();
    QCOMPARE(testGrid->text(0, 1), QString("RX Frequency"));
    QCOMPARE(test->windowTitle(), QString("Test Frequency"));
    QCOMPARE(w->windowNamed("Form7")->windowTitle(), QString("Embedded Information"));
    QCOMPARE(w->windowNamed("frmAbout")->windowTitle(), QString("Help"));
    // The DTMF frame and the PTT code labels have Chinese texts only.
    QWidget* optional = w->windowNamed("Form5");
    QVERIFY(optional);
    bool dtmfChinese = false;
    bool launchLabels = false;
    for (QLabel* l : optional->findChildren<QLabel*>()) {
        dtmfChinese = dtmfChinese || l->text() == QString("DTMF 速率");
        launchLabels = launchLabels || l->text() == QString("发射开始(16位)");
    }
    QVERIFY(dtmfChinese);
    QVERIFY(launchLabels);
}

void TestCommands::lockTwice() {
    Window w;
    QAction* lock = w.find<QAction>("mnulock");
    lock->trigger();
    QVERIFY(lock->isChecked());
    for (const char* name : {"Frame1", "Frame2", "Grid1"})
        QVERIFY2(!w.find<QWidget>(name)->isEnabled(), name);
    QVERIFY(w.find<QToolBar>("Toolbar1")->isEnabled()); // menus and toolbar stay usable
    lock->trigger();
    QVERIFY(!lock->isChecked());
    for (const char* name : {"Frame1", "Frame2", "Grid1"})
        QVERIFY2(w.find<QWidget>(name)->isEnabled(), name);
}

void TestCommands::lockedWindowStillReads() {
    // A file opened while locked fills the grid all the same.
    Window w(QByteArray("\x01\x00\x00", 3), true);
    w->replaceEditor(WithChannels());
    QCOMPARE(w.find<FlexGrid>("Grid1")->text(2, 1), QString("436.00000"));
    QVERIFY(!w.find<QWidget>("Grid1")->isEnabled());
}

void TestCommands::serviceGesture_data() {
    // Clicks as label:second pairs; whether the mode is on afterwards.
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<bool>("on");
    QTest::newRow("three within 5 s") << QStringList{"Label5:0", "Label7:2", "Label1:5"} << true;
    QTest::newRow("any order") << QStringList{"Label1:0", "Label5:1", "Label7:1"} << true;
    QTest::newRow("spread over 6 s") << QStringList{"Label5:0", "Label7:3", "Label1:6"} << false;
    QTest::newRow("late click starts again")
        << QStringList{"Label5:0", "Label7:3", "Label1:6", "Label5:8", "Label7:10"} << true;
    QTest::newRow("one label three times")
        << QStringList{"Label5:0", "Label5:1", "Label5:2"} << false;
    QTest::newRow("two labels only") << QStringList{"Label5:0", "Label7:1", "Label7:2"} << false;
}

void TestCommands::serviceGesture() {
    QFETCH(QStringList, clicks);
    QFETCH(bool, on);
    Clocked w;
    for (const QString& c : clicks) {
        const QStringList parts = c.split(':');
        w.clickLabel(qPrintable(parts[0]), 36000.0 + parts[1].toDouble());
    }
    QCOMPARE(w->state().ServiceMode, on);
    QCOMPARE(w.visible("Anma"), on);
    QVERIFY(!w.visible("TAnMa"));
}

void TestCommands::serviceButtons_data() {
    QTest::addColumn<QList<double>>("clicks");
    QTest::addColumn<bool>("off");
    QTest::newRow("single click") << QList<double>{10} << false;
    QTest::newRow("double click") << QList<double>{10, 10.6} << true;
    QTest::newRow("too slow") << QList<double>{10, 11.2} << false;
    QTest::newRow("slow then quick") << QList<double>{10, 11.2, 11.5} << true;
}

void TestCommands::serviceButtons() {
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
        QVERIFY(!w->state().GestureFlagA && !w->state().GestureFlagB && !w->state().GestureFlagC);
        // The gesture works again.
        for (const char* label : {"Label5", "Label7", "Label1"})
            w.clickLabel(label, 36100.0);
        QVERIFY(w.visible("Anma"));
    }
}

void TestCommands::relockDisablesCalibration() {
    Clocked w;
    QWidget* debug = w->windowNamed("Form2");
    w.now = 36000.0;
    QTest::mouseClick(debug->findChild<ClickLabel*>("Label3"), Qt::LeftButton);
    QTest::mouseClick(debug->findChild<ClickLabel*>("Label6"), Qt::LeftButton);
    QCOMPARE(w->editor().CalibrationWrite, 1);
    QVERIFY(w.visible("TAnMa"));
    QVERIFY(debug->findChild<QSlider*>("Slider1")->isEnabled());
    // A click on the other service button within the second counts for this one.
    w.clickButton("Anma", 36010.0);
    w.clickButton("TAnMa", 36010.4);
    QCOMPARE(w->editor().CalibrationWrite, 0);
    QVERIFY(!w.visible("TAnMa"));
    QVERIFY(!debug->findChild<QSlider*>("Slider1")->isEnabled());
    QVERIFY(!debug->findChild<QSlider*>("Slider3")->isEnabled());
}

void TestCommands::unknownToolbarKeyDoesNothing() {
    Window w;
    BoxAnswerer boxes;
    const EditorState before = w->editor();
    w->runToolbarKey("nothing");
    w->runToolbarKey("");
    QCOMPARE(boxes.count(), 0);
    QVERIFY(w->editor() == before);
}

void TestCommands::help() {
    Window w;
    QList<QUrl> opened;
    w->setUrlOpener([&](const QUrl& u) {
        opened << u;
        return true;
    });
    QVERIFY(w->helpFilePath().endsWith("/TR-640 Software.CHM"));
    QFile::remove(w->helpFilePath());
    w->mnumainhelp();
    QVERIFY(opened.isEmpty()); // no file, nothing happens
    QFile f(w->helpFilePath());
    if (!f.open(QIODevice::WriteOnly))
        QSKIP("the program's folder is not writable here");
    f.close();
    w->mnumainhelp();
    QFile::remove(w->helpFilePath());
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened[0].toLocalFile(), w->helpFilePath());
}

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
