// Editing the channel grid: its floating editors, the band selector, undo and redo, the
// channel clipboard and the unsaved-changes mark.

#include "support/UiTestSupport.h"

#include "codeplug/ToneTable.h"
#include "ui/main/ChannelGridEditor.h"
#include "ui/main/EditCommands.h"
#include "ui/main/FileCommands.h"

#include <QAbstractItemView>
#include <QClipboard>

using namespace tr640;
using namespace tr640::test;

namespace {

// Three channels in rows 1 to 3, as opened from a file.
EditorState Channels() {
    EditorState s;
    const char* rx[] = {"435.00000", "436.01250", "437.50000"};
    for (int i = 0; i < 3; ++i) {
        const int row = i + 1;
        s.cell(row, ColRxFrequency) = s.cell(row, ColTxFrequency) = QString::fromLatin1(rx[i]);
        s.setListCell(row, ColRxTone, 5 * i);
        s.setListCell(row, ColTxTone, i == 2 ? 200 : 0);
        for (int col : {ColPower, ColScanAdd})
            s.setListCell(row, col, i % 2);
        for (int col : {ColBclo, ColBandwidth})
            s.setListCell(row, col, 1);
    }
    return s;
}

struct Editing : Window {
    FlexGrid* grid;
    QLineEdit* text1;
    QComboBox* combo8;

    explicit Editing(bool withChannels = false) {
        activate();
        grid = find<FlexGrid>("Grid1");
        text1 = find<QLineEdit>("Text1");
        combo8 = find<QComboBox>("Combo8");
        if (withChannels) {
            form->document().replace(Channels(), EditKind::Open);
            form->document().markClean();
        }
    }
    QString cell(int row, int col) const { return grid->text(row, col); }
    // Types a frequency into a cell and commits it with Enter.
    void typeFrequency(int row, int col, const QString& text) {
        ClickCell(grid, row, col);
        text1->selectAll();
        QTest::keyClick(text1, Qt::Key_Backspace);
        QTest::keyClicks(text1, text);
        QTest::keyClick(text1, Qt::Key_Return);
    }
    // Opens the tone editor of a cell with its list closed and types into it.
    void typeTone(int row, int col, const QString& text, bool commit = true) {
        ClickCell(grid, row, col);
        QTest::keyClick(combo8->view(), Qt::Key_Escape); // close the list, keep editing
        combo8->lineEdit()->clear();
        QTest::keyClicks(combo8, text);
        if (commit)
            QTest::keyClick(combo8, Qt::Key_Return);
    }
    // Chooses entry `position` of an open list editor the way a user does in its list.
    static void choose(QComboBox* combo, int position) {
        combo->view()->setCurrentIndex(combo->view()->model()->index(position, 0));
        QTest::keyClick(combo->view(), Qt::Key_Return);
    }
    void select(int top, int left, int bottom, int right) {
        grid->clearSelection();
        grid->setCurrentCell(top, left);
        grid->setRangeSelected(QTableWidgetSelectionRange(top, left, bottom, right), true);
    }
};

} // namespace

class TestGridEditing : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void emptyChannelOpensOnReceiveFrequency() {
        Editing w;
        ClickCell(w.grid, 4, 6);
        QVERIFY(w.text1->isVisible());
        QVERIFY(w.text1->text().isEmpty());
        QCOMPARE(w->gridEditor().editRow(), 4);
        QCOMPARE(w->gridEditor().editColumn(), 1);
        QCOMPARE(w.grid->currentColumn(), 1);
        QVERIFY(w.text1->geometry().intersects(w.grid->cellRect(4, 1, w.text1->parentWidget())));
    }

    void frequencyEntry_data() { // typed | shown, empty: refused with the message
        AddRows({"snapped to 6.25 kHz: 435.0137|435.01250", "on the raster: 435.0125|435.01250",
                 "nearer 5 kHz: 435.016|435.01500", "tie: 435.0039|435.00000",
                 "upper limit: 470|470.00000", "lower limit: 400|400.00000", "above: 470.001|",
                 "below: 399.99|", "far above: 4350|",
                 "English: 4350||Beyond the frequency range"});
    }
    void frequencyEntry() {
        QFETCH(QStringList, row);
        const QString typed = row[0], shown = row[1];
        Editing w;
        if (row.size() > 2)
            w.trigger("mnuEnglish");
        BoxAnswerer boxes;
        w.typeFrequency(2, 1, typed);
        QCOMPARE(w.cell(2, 1), shown);
        QCOMPARE(w->editor().cell(2, ColRxFrequency), shown);
        QVERIFY(!w.text1->isVisible());
        QCOMPARE(boxes.count(), shown.isEmpty() ? 1 : 0);
        if (shown.isEmpty()) {
            QCOMPARE(boxes.text(), row.value(2, "超出频段范围"));
            QCOMPARE(boxes.seen()[0].title, QString("TR-640 Software"));
            QCOMPARE(boxes.seen()[0].buttons, QStringList{row.size() > 2 ? "OK" : "确定"});
            QCOMPARE(w->focusWidget(), static_cast<QWidget*>(w.grid));
        }
    }

    void newChannelDefaultsAndBlanking() {
        Editing w;
        w.typeFrequency(3, 1, "435.0137");
        QCOMPARE(RowTexts(w.grid, 3), (QStringList{"435.01250", "关闭", "435.01250", "关闭", "高",
                                                   "关闭", "宽带", "有"}));
        const int positions[] = {0, 0, 1, 0, 1, 1}; // columns 2, 4 to 8
        for (int i = 0; i < 6; ++i)
            QCOMPARE(w->editor().listIndex(3, i ? i + 3 : 2), positions[i]);
        w.typeFrequency(3, 3, "440.00625"); // another cell changes alone
        w.typeFrequency(3, 1, "436");
        QCOMPARE(RowTexts(w.grid, 3, 1, 3), (QStringList{"436.00000", "关闭", "440.00625"}));
        w.typeFrequency(6, 1, "435");
        w.typeFrequency(6, 3, "");
        QCOMPARE(w.cell(6, 3), QString("435.00000")); // a transmit frequency cannot be blanked
        w.typeFrequency(6, 1, ""); // blanking the receive frequency clears the channel
        QCOMPARE(RowTexts(w.grid, 6).join(""), QString());
        for (int col = 2; col <= 8; ++col)
            QCOMPARE(w->editor().listIndex(6, col), 0);
    }

    void keyboard() {
        Editing w;
        ClickCell(w.grid, 1, 1);
        QTest::keyClicks(w.text1, "4a3b5-,.1x2");
        QCOMPARE(w.text1->text(), QString("435.12")); // letters do not appear
        w.text1->clear();
        QTest::keyClick(w.text1, Qt::Key_Return);
        // Arrow keys move without opening, never into the fixed row and column.
        w.grid->setFocus();
        w.grid->setCurrentCell(1, 1);
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Right})
            QTest::keyClick(w.grid, key);
        QCOMPARE(w.grid->currentRow(), 2);
        QCOMPARE(w.grid->currentColumn(), 2);
        for (Qt::Key key : {Qt::Key_Home, Qt::Key_Up, Qt::Key_Up})
            QTest::keyClick(w.grid, key);
        QCOMPARE(w.grid->currentRow(), 1);
        QCOMPARE(w.grid->currentColumn(), 1);
        QVERIFY(!w.text1->isVisible() && !w.combo8->isVisible());
        // Enter opens the editor and commits it.
        w.grid->setCurrentCell(5, 1);
        QTest::keyClick(w.grid, Qt::Key_Return);
        QVERIFY(w.text1->isVisible() && w.text1->hasFocus());
        QTest::keyClicks(w.text1, "450.1");
        QTest::keyClick(w.text1, Qt::Key_Return);
        QVERIFY(!w.text1->isVisible());
        QVERIFY(w.grid->hasFocus());
        QCOMPARE(w.cell(5, 1), QString("450.10000"));
        // A right click elsewhere commits as well, and moves nothing.
        ClickCell(w.grid, 7, 1);
        QTest::keyClicks(w.text1, "436.5");
        ClickCell(w.grid, 9, 3, Qt::RightButton);
        QCOMPARE(w.cell(7, 1), QString("436.50000"));
        QVERIFY(!w.text1->isVisible() && !w.combo8->isVisible());
        QCOMPARE(w.grid->currentRow(), 7);
        w.typeFrequency(1, 1, "435");
        w.typeTone(1, 2, "D0k23I7", false);
        QCOMPARE(w.combo8->currentText(), QString("0237")); // nor in the tone editor
    }

    void listEditors() {
        Editing w;
        w.typeFrequency(1, 1, "435");
        ClickCell(w.grid, 1, 4);
        QVERIFY(w.combo8->isVisible());
        QVERIFY(w.combo8->view()->isVisible()); // the list drops open
        Editing::choose(w.combo8, 156);
        QCOMPARE(w.cell(1, 4), QString("D023I"));
        QCOMPARE(w->editor().listIndex(1, 4), 156);
        QVERIFY(!w.combo8->isVisible());
        QVERIFY(w.grid->hasFocus());
        for (int col = 5; col <= 8; ++col) {
            ClickCell(w.grid, 1, col);
            auto* list = w.find<QComboBox>(QString("Combo5(%1)").arg(col));
            QVERIFY(list->isVisible());
            const int before = w->editor().listIndex(1, col);
            QCOMPARE(list->currentIndex(), before);
            Editing::choose(list, 1 - before);
            QCOMPARE(w->editor().listIndex(1, col), 1 - before);
            QVERIFY(!list->isVisible());
        }
        QCOMPARE(RowTexts(w.grid, 1, 5, 8), (QStringList{"低", "载波", "窄带", "无"}));
    }

    void typedTones_data() { // typed | shown
        AddRows({"88: 88|88.0", "listed: 67|67.0", "upper end: 254.1|254.1",
                 "300 restores: 300|D023N", "66.9 restores: 66.9|D023N",
                 "nothing restores: |D023N"});
    }
    void typedTones() {
        QFETCH(QStringList, row);
        const QString typed = row[0], shown = row[1];
        Editing w;
        w.typeFrequency(1, 1, "435");
        ClickCell(w.grid, 1, 2);
        Editing::choose(w.combo8, 51); // D023N first
        w.typeTone(1, 2, typed);
        QVERIFY(!w.combo8->isVisible());
        QCOMPARE(w.cell(1, 2), shown);
        if (typed != "88")
            return;
        w.trigger("mnuEnglish"); // a typed tone survives the language switch
        QCOMPARE(RowTexts(w.grid, 1, 2, 5), (QStringList{"88.0", "435.00000", "Off", "High"}));
    }

    void bandChange_data() {
        QTest::addColumn<QString>("answer"); // empty: the band already selected
        QTest::newRow("OK") << "确定";
        QTest::newRow("Cancel") << "取消";
        QTest::newRow("same band") << "";
    }
    void bandChange() {
        QFETCH(QString, answer);
        Editing w;
        w.typeFrequency(1, 1, "435");
        auto* band = w.find<QComboBox>("Combo1");
        {
            BoxAnswerer boxes({answer});
            band->setCurrentIndex(answer.isEmpty() ? 0 : 5); // 136-174MHz
            QCOMPARE(boxes.count(), answer.isEmpty() ? 0 : 1);
            if (!answer.isEmpty()) {
                QCOMPARE(boxes.text(), QString("改变频段将清除频道列表，确定吗？"));
                QCOMPARE(boxes.seen()[0].title, QString("注意！"));
                QCOMPARE(boxes.seen()[0].icon, QMessageBox::Question);
                QCOMPARE(boxes.seen()[0].buttons, (QStringList{"确定", "取消"}));
            }
        }
        BoxAnswerer beyond;
        const bool changed = answer == "确定";
        QCOMPARE(band->currentIndex(), changed ? 5 : 0);
        QCOMPARE(w->editor().Band, changed ? 5 : 0);
        QCOMPARE(w.cell(1, 1), changed ? QString() : QString("435.00000"));
        QCOMPARE(w->BandLow(), changed ? 136 : 400);
        QCOMPARE(w->BandHigh(), changed ? 174 : 470);
        w.typeFrequency(2, 1, "150");
        QCOMPARE(w.cell(2, 1), changed ? QString("150.00000") : QString());
        w.typeFrequency(3, 1, "400");
        QCOMPARE(w.cell(3, 1), changed ? QString() : QString("400.00000"));
        QCOMPARE(beyond.count(), 1);
    }

    void undoRedoEachStep_data() {
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("undoText");
        const char* texts[] = {"撤销编辑", "撤销删除信道", "撤销功能设置",
                               "撤销新建", "撤销更改频段", "撤销打开",
                               "撤销粘贴", "撤销剪切",     "撤销删除"};
        const char* names[] = {"cell", "clear channel", "setting", "new",   "band",
                               "open", "paste",         "cut",     "delete"};
        for (int i = 0; i < 9; ++i)
            QTest::newRow(names[i]) << i << QString::fromUtf8(texts[i]);
    }
    void undoRedoEachStep() {
        QFETCH(int, step);
        Editing w(true);
        const EditorState before = w->editor();
        BoxAnswerer boxes({"确定"});
        EditorState other;
        other.cell(9, ColRxFrequency) = other.cell(9, ColTxFrequency) = "401.00000";
        other.SquelchLevel = 2;
        const QString file = w.dir.filePath("o.DAT");
        switch (step) {
        case 0:
        case 1:
            w.typeFrequency(2, 1, step ? "" : "440");
            break;
        case 2:
            w.find<QComboBox>("Combo9")->setCurrentIndex(8);
            break;
        case 3:
            w->runToolbarKey("new");
            break;
        case 4:
            w.find<QComboBox>("Combo1")->setCurrentIndex(2);
            break;
        case 5:
            QVERIFY(WriteAll(file, EncodeImage(other)));
            QVERIFY(w->files().openFile(file));
            break;
        case 6:
            w.select(5, 1, 5, 1);
            w->edits().pasteText("450.5\n451\n");
            break;
        case 7:
            w.select(1, 1, 2, 8);
            w->edits().cut();
            break;
        case 8:
            w.select(3, 1, 3, 8);
            w->edits().deleteChannels();
            break;
        }
        const EditorState after = w->editor();
        QVERIFY2(!(after == before), "the step changed nothing");
        QAction* undo = w.find<QAction>("mnuUndo");
        QVERIFY(undo->isEnabled());
        QTEST(undo->text(), "undoText");
        undo->trigger();
        QVERIFY(w->editor() == before);
        QCOMPARE(w.cell(2, 1), QString("436.01250"));
        QCOMPARE(undo->text(), QString("撤销打开")); // the fixture's own step is next
        w.trigger("mnuRedo");
        QVERIFY(w->editor() == after);
        QCOMPARE(w.find<QComboBox>("Combo1")->currentIndex(), after.Band);
    }

    void undoKeepsDialogSettingsAndManySteps() {
        Editing w(true);
        const EditorState start = w->editor();
        w.typeFrequency(2, 1, "440");
        w->editor().Settings.EmbeddedMessage[0] = "LATER"; // committed by a dialog meanwhile
        w.trigger("mnuUndo");
        QCOMPARE(w->editor().cell(2, ColRxFrequency), QString("436.01250"));
        QCOMPARE(w->editor().Settings.EmbeddedMessage[0], QString("LATER"));
        w->editor().Settings.EmbeddedMessage[0] = start.Settings.EmbeddedMessage[0];
        for (int i = 0; i < 60; ++i)
            w.typeFrequency(1 + i % 16, 1, QString::number(401 + i));
        for (int i = 0; i < 60; ++i)
            w->edits().undo();
        QVERIFY(w->editor() == start);
    }

    void copyAndPasteRows() {
        Editing w(true);
        w.select(1, 1, 3, 8);
        w->edits().copy();
        const QStringList lines = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
        QCOMPARE(
            lines,
            (QStringList{"信道\t接收频率\t亚音频\t发射频率\t亚音频\t功率\t禁发\t宽\\窄带\t扫描添加",
                         "01\t435.00000\t关闭\t435.00000\t关闭\t低\t载波\t宽带\t无",
                         "02\t436.01250\t77.0\t436.01250\t关闭\t高\t载波\t宽带\t有",
                         "03\t437.50000\t91.5\t437.50000\tD255I\t低\t载波\t宽带\t无"}));
        w.select(7, 1, 7, 1);
        w->edits().paste();
        for (int i = 0; i < 3; ++i)
            for (int col = 1; col <= 8; ++col) {
                QCOMPARE(w->editor().cell(7 + i, col), w->editor().cell(1 + i, col));
                QCOMPARE(w->editor().listIndex(7 + i, col), w->editor().listIndex(1 + i, col));
            }
        QCOMPARE(EncodeImage(w->editor()).mid(6 * 16, 48), EncodeImage(w->editor()).mid(0, 48));
    }

    void paste_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column"); // of the current cell
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("cells"); // rows `row`, `row` + 1, columns 1 to 8
        QTest::addColumn<QStringList>("complaints");
        QTest::newRow("bad values refused")
            << 1 << 1
            << "信道\t接收频率\t亚音频\t发射频率\n01\t480\t88.5\t435\n02\t436.5\t300\t436.5\n"
            << QStringList{"435.00000|88.5|435.00000|关闭|低|载波|宽带|无",
                           "436.50000|77.0|436.50000|关闭|高|载波|宽带|有"}
            << QStringList{"信道 01，接收频率：超出频段范围",
                           "信道 02，亚音频：不是对讲机的亚音频"};
        QTest::newRow("headings in the other language decide the columns")
            << 10 << 3
            << "CH\tRX frequency\tQT/DQT\tTX frequency\tQT/DQT\tPower\n"
               "01\t445.00625\tD023N\t446\tOff\tLow\n"
            << QStringList{"445.00625|D023N|446.00000|关闭|低|关闭|宽带|有", "|||||||"}
            << QStringList{};
    }
    void paste() {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(QStringList, complaints);
        Editing w(true);
        w.select(row, column, row, column);
        BoxAnswerer boxes;
        w->edits().pasteText(text);
        QStringList cells;
        for (int r : {row, row + 1})
            cells << RowTexts(w.grid, r).join('|');
        QTEST(cells, "cells");
        QCOMPARE(w->editor().cell(row, ColRxFrequency), cells[0].section('|', 0, 0));
        QCOMPARE(boxes.count(), complaints.isEmpty() ? 0 : 1);
        for (const QString& c : complaints)
            QVERIFY2(boxes.text().contains(c), qPrintable(boxes.text()));
    }

    void unsavedMark() {
        Editing w(true);
        const QString clean = w->windowTitle();
        QVERIFY(!clean.endsWith('*'));
        w.typeFrequency(4, 1, "441");
        QVERIFY(w->windowTitle().endsWith(" *"));
        w->edits().undo();
        QCOMPARE(w->windowTitle(), clean); // back to what was opened
        w.typeFrequency(4, 1, "441");
        QVERIFY(w->files().saveFile(w.dir.filePath("saved.DAT")));
        QCOMPARE(w->windowTitle(), clean);
        w.trigger("mnuEnglish");
        w.typeFrequency(5, 1, "442");
        QCOMPARE(w->windowTitle(), QString("KESTRA Radio Software V1.20 *"));
    }

    void exitWithChanges_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("savedFile");
        QTest::newRow("Yes saves and exits") << "是" << true << true;
        QTest::newRow("No exits") << "否" << true << false;
        QTest::newRow("Cancel stays") << "取消" << false << false;
    }
    void exitWithChanges() {
        QFETCH(QString, answer);
        QFETCH(bool, closed);
        Editing w(true);
        const QString path = w.dir.filePath("exit.DAT");
        w->files().setChooser([&](FileCommands::Purpose, QWidget*) { return path; });
        w.typeFrequency(6, 1, "443");
        BoxAnswerer boxes({answer});
        QCOMPARE(w->close(), closed);
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.text(), QString("频率数据已修改，是否保存？"));
        QTEST(QFile::exists(path), "savedFile");
        QCOMPARE(QFile::exists(w.dir.filePath("parameter")) && closed, closed);
    }
};

QTEST_MAIN(TestGridEditing)
#include "tst_grid_editing.moc"
