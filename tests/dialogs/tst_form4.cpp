// The test frequency dialog.

#include "DialogTestSupport.h"

#include "ui/dialogs/CellEditGrid.h"
#include "ui/dialogs/Form4.h"

#include <QPushButton>

using namespace tr640;
using namespace tr640::test;

class TestForm4 : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void layoutBeforeThePass();
    void receiveSnapping_data();
    void receiveSnapping();
    void transmitOnReceiveRaster_data();
    void transmitOnReceiveRaster();
    void clearingRules();
    void transmitRefusedWhileReceiveEmpty();
    void revisitingCellKeepsCustomTransmit();
    void escapeDropsTheEdit();
    void typingOnCurrentCellStartsEditor();
    void okStoresCancelAndCloseKeep_data();
    void okStoresCancelAndCloseKeep();
    void okCommitsOpenEditor();
    void decodeOverwritesGridAndOpenEditor();
    void headingsFitTheirColumns_data();
    void headingsFitTheirColumns();

private:
    // Clicks a cell, replaces its text by `typed` and commits with Enter.
    void enter(int row, int column, const QString& typed);
    QString cell(int row, int column) const { return grid->text(row, column); }

    SharedState state;
    Form4* dialog = nullptr;
    CellEditGrid* grid = nullptr;
};

void TestForm4::init() {
    state = SharedState();
    dialog = new Form4(state, nullptr);
    grid = dialog->findChild<CellEditGrid*>("mfgrid1");
    dialog->show();
}

void TestForm4::cleanup() {
    delete dialog;
    dialog = nullptr;
}

void TestForm4::enter(int row, int column, const QString& typed) {
    ClickCell(grid, row, column);
    FilteredLineEdit* editor = grid->cellEditor();
    QVERIFY2(editor, "no editor opened");
    editor->selectAll();
    if (typed.isEmpty())
        QTest::keyClick(editor, Qt::Key_Delete);
    else
        QTest::keyClicks(editor, typed);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!grid->cellEditor());
}

void TestForm4::layoutBeforeThePass() {
    QCOMPARE(grid->rowCount(), 17);
    QCOMPARE(grid->columnCount(), 3);
    QCOMPARE(cell(0, 0), QStringLiteral("信道"));
    QCOMPARE(cell(0, 1), QStringLiteral("接收频率"));
    QCOMPARE(cell(0, 2), QStringLiteral("发射频率"));
    QCOMPARE(cell(1, 0), QStringLiteral("01"));
    QCOMPARE(cell(16, 0), QStringLiteral("16"));
    QCOMPARE(grid->columnWidth(0), FlexGrid::TwipsToPixels(850));
    QCOMPARE(grid->columnWidth(2), FlexGrid::TwipsToPixels(1330));
    QCOMPARE(grid->rowHeight(5), FlexGrid::TwipsToPixels(300));
    QCOMPARE(grid->item(3, 1)->textAlignment(), int(Qt::AlignCenter));
    // Showing the dialog or focusing the grid opens no editor; choosing a cell does.
    grid->setFocus();
    QVERIFY(!grid->cellEditor());
}

void TestForm4::receiveSnapping_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("6.25 kHz nearer") << "145.0070"
                                     << "145.00625";
    QTest::newRow("5 kHz nearer") << "145.0120"
                                  << "145.01000";
    QTest::newRow("tie goes to 6.25 kHz") << "145.0031"
                                          << "145.00000";
    QTest::newRow("whole MHz") << "145"
                               << "145.00000";
    QTest::newRow("on 6.25 kHz raster") << "438.00625"
                                        << "438.00625";
    QTest::newRow("letters only") << "abc"
                                  << "0.00000";
    QTest::newRow("leading number") << "146.52x"
                                    << "146.52000";
    QTest::newRow("below one step") << "0.004"
                                    << "0.00000";
    QTest::newRow("negative") << "-5"
                              << "0.00000";
    QTest::newRow("absurdly long") << QString(400, u'9') << "0.00000";
}

void TestForm4::receiveSnapping() {
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    enter(3, Form4::kRxColumn, typed);
    QCOMPARE(cell(3, 1), expected);
    QCOMPARE(cell(3, 2), expected);
}

void TestForm4::transmitOnReceiveRaster_data() {
    QTest::addColumn<QString>("receive");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("RX on 6.25 kHz") << "145.00625"
                                    << "146.0074"
                                    << "146.00625";
    QTest::newRow("RX on 5 kHz") << "145.01000"
                                 << "146.0074"
                                 << "146.00500";
    QTest::newRow("letters") << "145.01000"
                             << "xyz"
                             << "0.00000";
}

void TestForm4::transmitOnReceiveRaster() {
    QFETCH(QString, receive);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    enter(7, Form4::kRxColumn, receive);
    QCOMPARE(cell(7, 1), receive);
    enter(7, Form4::kTxColumn, typed);
    QCOMPARE(cell(7, 2), expected);
    QCOMPARE(cell(7, 1), receive);
}

void TestForm4::clearingRules() {
    enter(2, 1, "435.0125");
    enter(2, 2, "440");
    QCOMPARE(cell(2, 2), QStringLiteral("440.00000"));
    // Clearing TX restores it from RX.
    enter(2, 2, "");
    QCOMPARE(cell(2, 2), QStringLiteral("435.01250"));
    // Clearing RX clears TX.
    enter(2, 1, "");
    QCOMPARE(cell(2, 1), QString());
    QCOMPARE(cell(2, 2), QString());
}

void TestForm4::transmitRefusedWhileReceiveEmpty() {
    ClickCell(grid, 4, 2);
    QVERIFY(!grid->cellEditor());
    ClickCell(grid, 4, 1);
    QVERIFY(grid->cellEditor());
    QTest::keyClicks(grid->cellEditor(), "145");
    ClickCell(grid, 4, 2); // leaving RX commits it; now TX may be edited
    QCOMPARE(cell(4, 1), QStringLiteral("145.00000"));
    QVERIFY(grid->cellEditor());
    // The fixed column and the header take no editor.
    ClickCell(grid, 5, 0);
    ClickCell(grid, 0, 1);
    QCOMPARE(grid->currentRow(), 4);
}

void TestForm4::revisitingCellKeepsCustomTransmit() {
    enter(1, 1, "145");
    enter(1, 2, "150");
    // Opening the RX editor and leaving without a change is no edit.
    ClickCell(grid, 1, 1);
    QVERIFY(grid->cellEditor());
    ClickCell(grid, 9, 1);
    QCOMPARE(cell(1, 2), QStringLiteral("150.00000"));
}

void TestForm4::escapeDropsTheEdit() {
    enter(6, 1, "145");
    ClickCell(grid, 6, 1);
    grid->cellEditor()->selectAll();
    QTest::keyClicks(grid->cellEditor(), "150");
    QTest::keyClick(grid->cellEditor(), Qt::Key_Escape);
    QTRY_VERIFY(!grid->cellEditor());
    QCOMPARE(cell(6, 1), QStringLiteral("145.00000"));
    QVERIFY(dialog->isVisible());
}

void TestForm4::typingOnCurrentCellStartsEditor() {
    enter(2, 1, "145");
    QCOMPARE(grid->currentRow(), 2);
    QTest::keyClick(grid, Qt::Key_1);
    QVERIFY(grid->cellEditor());
    QCOMPARE(grid->cellEditor()->text(), QStringLiteral("1")); // the old text is replaced
    QTest::keyClicks(grid->cellEditor(), "46");
    QTest::keyClick(grid->cellEditor(), Qt::Key_Return);
    QTRY_VERIFY(!grid->cellEditor());
    QCOMPARE(cell(2, 1), QStringLiteral("146.00000"));
}

void TestForm4::okStoresCancelAndCloseKeep_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("stores");
    QTest::newRow("OK") << "Command1" << true;
    QTest::newRow("Cancel") << "Command2" << false;
    QTest::newRow("title-bar close") << "close" << false;
}

void TestForm4::okStoresCancelAndCloseKeep() {
    QFETCH(QString, how);
    QFETCH(bool, stores);
    state.Editor.Settings.TestRxFrequency[15] = QStringLiteral("400.00000");
    dialog->refreshFromStore();
    enter(1, 1, "145.0070");
    enter(16, 1, "");
    if (how == QLatin1String("close"))
        dialog->close();
    else
        QTest::mouseClick(dialog->findChild<QPushButton*>(how), Qt::LeftButton);
    QVERIFY(dialog->isHidden());
    const SettingsStore& s = state.Editor.Settings;
    QCOMPARE(s.TestRxFrequency[0], stores ? QStringLiteral("145.00625") : QString());
    QCOMPARE(s.TestTxFrequency[0], stores ? QStringLiteral("145.00625") : QString());
    QCOMPARE(s.TestRxFrequency[15], stores ? QString() : QStringLiteral("400.00000"));
    dialog->showDialog();
    QCOMPARE(cell(1, 1), QStringLiteral("145.00625"));
    QCOMPARE(cell(16, 1), QString());
}

void TestForm4::okCommitsOpenEditor() {
    ClickCell(grid, 8, 1);
    QTest::keyClicks(grid->cellEditor(), "145.0120");
    QTest::mouseClick(dialog->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    QCOMPARE(state.Editor.Settings.TestRxFrequency[7], QStringLiteral("145.01000"));
    QCOMPARE(state.Editor.Settings.TestTxFrequency[7], QStringLiteral("145.01000"));
}

void TestForm4::decodeOverwritesGridAndOpenEditor() {
    enter(1, 1, "145");
    enter(2, 1, "146");
    ClickCell(grid, 3, 1);
    QTest::keyClicks(grid->cellEditor(), "147");
    const QByteArray image = ImageWith([](EditorState& e) {
        e.Settings.TestRxFrequency[0] = QStringLiteral("435.12500");
        e.Settings.TestTxFrequency[0] = QStringLiteral("440.00625");
        e.Settings.TestRxFrequency[2] = QStringLiteral("136.00000");
    });
    Decode(state, image);
    dialog->refreshFromStore();
    QVERIFY(!grid->cellEditor());
    QCOMPARE(cell(1, 1), QStringLiteral("435.12500"));
    QCOMPARE(cell(1, 2), QStringLiteral("440.00625"));
    QCOMPARE(cell(2, 1), QString()); // FF FF FF FF: empty
    QCOMPARE(cell(2, 2), QString());
    QCOMPARE(cell(3, 1), QStringLiteral("136.00000"));
    QCOMPARE(cell(3, 2), QString());
}

void TestForm4::headingsFitTheirColumns_data() {
    QTest::addColumn<int>("language");
    QTest::newRow("Chinese") << 0;
    QTest::newRow("English") << 1;
}

// A heading wider than its column in this font widens the column instead of being cut.
void TestForm4::headingsFitTheirColumns() {
    QFETCH(int, language);
    ApplyLanguageTo(dialog, language);
    for (int c = 0; c < 3; ++c) {
        QVERIFY(grid->columnWidth(c) >= grid->fontMetrics().horizontalAdvance(cell(0, c)));
        QVERIFY(grid->columnWidth(c) >= FlexGrid::TwipsToPixels(c == 0 ? 850 : 1330));
    }
}

QTEST_MAIN(TestForm4)
#include "tst_form4.moc"
