// Editing the channel grid through its floating editors, and the band selector.

#include "support/UiTestSupport.h"

#include "codeplug/BiText.h"
#include "codeplug/ToneTable.h"
#include "ui/main/ChannelGridEditor.h"
#include "ui/widgets/FlexGrid.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>

using namespace tr640;
using namespace tr640::test;

namespace {

struct Editing : Window {
    FlexGrid* grid;
    QLineEdit* text1;
    QComboBox* combo8;

    Editing() {
        form->show();
        QApplication::setActiveWindow(form.get());
        (void)QTest::qWaitForWindowActive(form.get());
        grid = find<FlexGrid>("Grid1");
        text1 = find<QLineEdit>("Text1");
        combo8 = find<QComboBox>("Combo8");
    }

    QPoint centre(int row, int col) const {
        return grid->visualRect(grid->model()->index(row, col)).center();
    }
    void click(int row, int col, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(grid->viewport(), button, {}, centre(row, col));
    }
    QComboBox* list(int col) const { return find<QComboBox>(QString("Combo5(%1)").arg(col)); }
    QString cell(int row, int col) const { return grid->text(row, col); }

    // Types a frequency into a cell and commits it with Enter.
    void typeFrequency(int row, int col, const QString& text) {
        click(row, col);
        text1->selectAll();
        QTest::keyClick(text1, Qt::Key_Backspace);
        QTest::keyClicks(text1, text);
        QTest::keyClick(text1, Qt::Key_Return);
    }
    // Chooses entry `position` of an open list editor the way a user does in its list.
    static void choose(QComboBox* combo, int position) {
        QAbstractItemView* view = combo->view();
        view->setCurrentIndex(view->model()->index(position, 0));
        QTest::keyClick(view, Qt::Key_Return);
    }
};

} // namespace

class TestGridEditing : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void emptyChannelOpensOnReceiveFrequency();
    void frequencyEntry_data();
    void frequencyEntry();
    void newChannelDefaults();
    void editingExistingChannelChangesOneCell();
    void lettersDoNotAppear();
    void enterOpensAndCommits();
    void arrowKeysMoveWithoutOpening();
    void blankingFrequencies();
    void toneFromTheList();
    void typedTones_data();
    void typedTones();
    void typedToneSurvivesLanguageSwitch();
    void flagCellFromItsList();
    void rightClickCommits();
    void bandChange_data();
    void bandChange();
    void bandAlreadySelectedAsksNothing();
};

void TestGridEditing::emptyChannelOpensOnReceiveFrequency() {
    Editing w;
    w.click(4, 6);
    QVERIFY(w.text1->isVisible());
    QVERIFY(w.text1->text().isEmpty());
    QCOMPARE(w->gridEditor().editRow(), 4);
    QCOMPARE(w->gridEditor().editColumn(), 1);
    QCOMPARE(w.grid->currentColumn(), 1);
    QVERIFY(w.text1->geometry().intersects(w.grid->cellRect(4, 1, w.text1->parentWidget())));
}

void TestGridEditing::frequencyEntry_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown"); // empty: refused with the message
    QTest::newRow("snapped to 6.25 kHz") << "435.0137"
                                         << "435.01250";
    QTest::newRow("on the raster") << "435.0125"
                                   << "435.01250";
    QTest::newRow("nearer 5 kHz") << "435.016"
                                  << "435.01500";
    QTest::newRow("tie") << "435.0039"
                         << "435.00000";
    QTest::newRow("upper limit") << "470"
                                 << "470.00000";
    QTest::newRow("lower limit") << "400"
                                 << "400.00000";
    QTest::newRow("above") << "470.001"
                           << "";
    QTest::newRow("below") << "399.99"
                           << "";
    QTest::newRow("far above") << "4350"
                               << "";
}

void TestGridEditing::frequencyEntry() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    Editing w;
    BoxAnswerer boxes;
    w.typeFrequency(2, 1, typed);
    QCOMPARE(w.cell(2, 1), shown);
    QCOMPARE(w->editor().cell(2, ColRxFrequency), shown);
    QVERIFY(!w.text1->isVisible());
    if (shown.isEmpty()) {
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.seen()[0].text, QString("超出频段范围"));
        QCOMPARE(boxes.seen()[0].title, QString("TR-640 Software"));
        QCOMPARE(boxes.seen()[0].buttons, QStringList{"确定"});
        QCOMPARE(w->focusWidget(),
                 static_cast<QWidget*>(w.grid)); // once the window is active again
    } else {
        QCOMPARE(boxes.count(), 0);
    }
}

void TestGridEditing::newChannelDefaults() {
    Editing w;
    w.typeFrequency(3, 1, "435.0137");
    const QStringList expected{"435.01250", "关闭", "435.01250", "关闭",
                               "高",        "关闭", "宽带",      "有"};
    for (int col = 1; col <= 8; ++col)
        QCOMPARE(w.cell(3, col), expected[col - 1]);
    const int positions[] = {0, 0, 0, 0, 0, 1, 0, 1, 1};
    for (int col = 2; col <= 8; ++col)
        QCOMPARE(w->editor().listIndex(3, col), positions[col]);
}

void TestGridEditing::editingExistingChannelChangesOneCell() {
    Editing w;
    w.typeFrequency(1, 1, "435");
    w.typeFrequency(1, 3, "440.00625");
    QCOMPARE(w.cell(1, 1), QString("435.00000"));
    QCOMPARE(w.cell(1, 3), QString("440.00625"));
    w.typeFrequency(1, 1, "436");
    QCOMPARE(w.cell(1, 1), QString("436.00000"));
    QCOMPARE(w.cell(1, 3), QString("440.00625"));
}

void TestGridEditing::lettersDoNotAppear() {
    Editing w;
    w.click(1, 1);
    QTest::keyClicks(w.text1, "4a3b5-,.1x2");
    QCOMPARE(w.text1->text(), QString("435.12"));
    w.text1->clear();
    QTest::keyClick(w.text1, Qt::Key_Return);
    w.typeFrequency(1, 1, "435");
    w.click(1, 2);
    QTest::keyClick(w.combo8->view(), Qt::Key_Escape); // close the list, keep editing
    w.combo8->lineEdit()->clear();
    QTest::keyClicks(w.combo8, "D0k23I7");
    QCOMPARE(w.combo8->currentText(), QString("0237"));
}

void TestGridEditing::enterOpensAndCommits() {
    Editing w;
    w.grid->setFocus();
    w.grid->setCurrentCell(5, 1);
    QTest::keyClick(w.grid, Qt::Key_Return);
    QVERIFY(w.text1->isVisible());
    QVERIFY(w.text1->hasFocus());
    QTest::keyClicks(w.text1, "450.1");
    QTest::keyClick(w.text1, Qt::Key_Return);
    QVERIFY(!w.text1->isVisible());
    QVERIFY(w.grid->hasFocus());
    QCOMPARE(w.cell(5, 1), QString("450.10000"));
}

void TestGridEditing::arrowKeysMoveWithoutOpening() {
    Editing w;
    w.grid->setFocus();
    w.grid->setCurrentCell(1, 1);
    QTest::keyClick(w.grid, Qt::Key_Down);
    QTest::keyClick(w.grid, Qt::Key_Right);
    QCOMPARE(w.grid->currentRow(), 2);
    QCOMPARE(w.grid->currentColumn(), 2);
    QTest::keyClick(w.grid, Qt::Key_Home); // never into the fixed column
    QTest::keyClick(w.grid, Qt::Key_Up);
    QTest::keyClick(w.grid, Qt::Key_Up); // nor the heading row
    QCOMPARE(w.grid->currentRow(), 1);
    QCOMPARE(w.grid->currentColumn(), 1);
    QVERIFY(!w.text1->isVisible());
    QVERIFY(!w.combo8->isVisible());
}

void TestGridEditing::blankingFrequencies() {
    Editing w;
    w.typeFrequency(6, 1, "435");
    w.typeFrequency(6, 3, "");
    QCOMPARE(w.cell(6, 3), QString("435.00000")); // a transmit frequency cannot be blanked
    w.typeFrequency(6, 1, "");
    for (int col = 1; col <= 8; ++col)
        QVERIFY(w.cell(6, col).isEmpty());
    for (int col = 2; col <= 8; ++col)
        QCOMPARE(w->editor().listIndex(6, col), 0);
}

void TestGridEditing::toneFromTheList() {
    Editing w;
    w.typeFrequency(1, 1, "435");
    w.click(1, 4);
    QVERIFY(w.combo8->isVisible());
    QVERIFY(w.combo8->view()->isVisible()); // the list drops open
    const int d023i = kFirstDcsInverted;
    Editing::choose(w.combo8, d023i);
    QCOMPARE(w.cell(1, 4), QString("D023I"));
    QCOMPARE(w->editor().listIndex(1, 4), d023i);
    QVERIFY(!w.combo8->isVisible());
    QVERIFY(w.grid->hasFocus());
}

void TestGridEditing::typedTones_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("88") << "88"
                        << "88.0";
    QTest::newRow("listed") << "67"
                            << "67.0";
    QTest::newRow("upper end") << "254.1"
                               << "254.1";
    QTest::newRow("300 restores") << "300"
                                  << "D023N";
    QTest::newRow("66.9 restores") << "66.9"
                                   << "D023N";
    QTest::newRow("nothing restores") << ""
                                      << "D023N";
}

void TestGridEditing::typedTones() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    Editing w;
    w.typeFrequency(1, 1, "435");
    w.click(1, 2);
    Editing::choose(w.combo8, kFirstDcsNormal); // D023N first
    w.click(1, 2);
    QTest::keyClick(w.combo8->view(), Qt::Key_Escape);
    w.combo8->lineEdit()->clear();
    QTest::keyClicks(w.combo8, typed);
    QTest::keyClick(w.combo8, Qt::Key_Return);
    QVERIFY(!w.combo8->isVisible());
    QCOMPARE(w.cell(1, 2), shown);
}

void TestGridEditing::typedToneSurvivesLanguageSwitch() {
    Editing w;
    w.typeFrequency(1, 1, "435");
    w.click(1, 2);
    QTest::keyClick(w.combo8->view(), Qt::Key_Escape);
    w.combo8->lineEdit()->clear();
    QTest::keyClicks(w.combo8, "88");
    QTest::keyClick(w.combo8, Qt::Key_Return);
    QCOMPARE(w.cell(1, 2), QString("88.0"));
    w->editor().Language = English;
    w->ApplyLanguage();
    w->SetGrid1Text();
    QCOMPARE(w.cell(1, 2), QString("88.0"));
    QCOMPARE(w.cell(1, 4), QString("Off"));
    QCOMPARE(w.cell(1, 5), QString("High"));
}

void TestGridEditing::flagCellFromItsList() {
    Editing w;
    w.typeFrequency(2, 1, "435");
    for (int col = 5; col <= 8; ++col) {
        w.click(2, col);
        QComboBox* list = w.list(col);
        QVERIFY(list->isVisible());
        const int before = w->editor().listIndex(2, col);
        QCOMPARE(list->currentIndex(), before);
        Editing::choose(list, 1 - before);
        QCOMPARE(w->editor().listIndex(2, col), 1 - before);
        QCOMPARE(w.cell(2, col), list->itemText(1 - before));
        QVERIFY(!list->isVisible());
    }
    QCOMPARE(w.cell(2, 5), QString("低"));
    QCOMPARE(w.cell(2, 6), QString("载波"));
}

void TestGridEditing::rightClickCommits() {
    Editing w;
    w.click(7, 1);
    QTest::keyClicks(w.text1, "436.5");
    w.click(9, 3, Qt::RightButton);
    QCOMPARE(w.cell(7, 1), QString("436.50000"));
    QVERIFY(!w.text1->isVisible());
    QVERIFY(!w.combo8->isVisible());
    QCOMPARE(w.grid->currentRow(), 7);
}

void TestGridEditing::bandChange_data() {
    QTest::addColumn<QString>("answer");
    QTest::newRow("OK") << "确定";
    QTest::newRow("Cancel") << "取消";
}

void TestGridEditing::bandChange() {
    QFETCH(QString, answer);
    Editing w;
    w.typeFrequency(1, 1, "435");
    auto* band = w.find<QComboBox>("Combo1");
    {
        BoxAnswerer boxes({answer});
        band->setCurrentIndex(5); // 136-174MHz
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.seen()[0].text, QString("改变频段将清除频道列表，确定吗？"));
        QCOMPARE(boxes.seen()[0].title, QString("注意！"));
        QCOMPARE(boxes.seen()[0].icon, QMessageBox::Question);
        QCOMPARE(boxes.seen()[0].buttons, (QStringList{"确定", "取消"}));
    }
    BoxAnswerer beyond;
    if (answer == "确定") {
        QCOMPARE(band->currentIndex(), 5);
        QCOMPARE(w->editor().Band, 5);
        QVERIFY(w.cell(1, 1).isEmpty());
        w.typeFrequency(2, 1, "150");
        QCOMPARE(w.cell(2, 1), QString("150.00000"));
        w.typeFrequency(3, 1, "400");
        QVERIFY(w.cell(3, 1).isEmpty());
        QCOMPARE(beyond.count(), 1);
    } else {
        QCOMPARE(band->currentIndex(), 0);
        QCOMPARE(w->editor().Band, 0);
        QCOMPARE(w.cell(1, 1), QString("435.00000"));
        QCOMPARE(w->BandLow(), 400);
        QCOMPARE(w->BandHigh(), 470);
        QCOMPARE(beyond.count(), 0);
    }
}

void TestGridEditing::bandAlreadySelectedAsksNothing() {
    Editing w;
    w.typeFrequency(1, 1, "435");
    BoxAnswerer boxes;
    w.find<QComboBox>("Combo1")->setCurrentIndex(0);
    QCOMPARE(boxes.count(), 0);
    QCOMPARE(w.cell(1, 1), QString("435.00000"));
}

QTEST_MAIN(TestGridEditing)
#include "tst_grid_editing.moc"
