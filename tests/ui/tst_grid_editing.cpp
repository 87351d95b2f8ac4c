// Editing the channel grid: its floating editors, the band selector, undo and redo, the
// channel clipboard and the unsaved-changes mark.

#include "support/UiTestSupport.h"

#include <QClipboard>

using namespace tr640;
using namespace tr640::test;

namespace {

// Three channels in rows 1 to 3.
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

// Chooses entry `position` of an open list the way a user does.
void Choose(QComboBox* list, int position) {
    list->view()->setCurrentIndex(list->view()->model()->index(position, 0));
    QTest::keyClick(list->view(), Qt::Key_Return);
}

// A shown, active main window, with Channels() opened from a file if asked.
struct Editing : Window {
    FlexGrid* grid = Window::grid();
    QLineEdit* text1 = find<QLineEdit>("Text1");
    QComboBox* combo8 = find<QComboBox>("Combo8");

    explicit Editing(bool withChannels = false) {
        activate();
        if (withChannels)
            open(Channels());
    }
    QString cell(int row, int col) const { return grid->text(row, col); }
    void select(int top, int left, int bottom, int right) const {
        grid->clearSelection();
        grid->setCurrentCell(top, left);
        grid->setRangeSelected(QTableWidgetSelectionRange(top, left, bottom, right), true);
    }
    void paste(int row, int col, const QString& text) const {
        select(row, col, row, col);
        QApplication::clipboard()->setText(text);
        trigger("mnuPaste");
    }
};

} // namespace

class TestGridEditing : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void frequencyEntry_data() { // typed | shown, empty: refused with the message
        AddRows({"snapped to 6.25 kHz: 435.0137|435.01250", "upper limit: 470|470.00000",
                 "lower limit: 400|400.00000", "above: 470.001|", "below: 399.99|",
                 "English: 4350||Beyond the frequency range"});
    }
    void frequencyEntry() {
        QFETCH(QStringList, row);
        Editing w;
        if (row.size() > 2)
            w.trigger("mnuEnglish");
        BoxAnswerer boxes;
        w.type(2, 1, row[0]);
        QCOMPARE(w.cell(2, 1), row[1]);
        QVERIFY(!w.text1->isVisible());
        QCOMPARE(boxes.count(), row[1].isEmpty() ? 1 : 0);
        if (row[1].isEmpty()) {
            QCOMPARE(boxes.text(), row.value(2, "超出频段范围"));
            QCOMPARE(w->focusWidget(), static_cast<QWidget*>(w.grid));
        }
    }

    void newChannelDefaultsAndBlanking() {
        Editing w;
        w.type(3, 1, "435.0137");
        QCOMPARE(RowTexts(w.grid, 3), (QStringList{"435.01250", "关闭", "435.01250", "关闭", "高",
                                                   "关闭", "宽带", "有"}));
        w.type(3, 3, "440.00625"); // another cell changes alone
        w.type(3, 1, "436");
        QCOMPARE(RowTexts(w.grid, 3, 1, 3), (QStringList{"436.00000", "关闭", "440.00625"}));
        w.type(3, 3, "");
        QCOMPARE(w.cell(3, 3), QString("440.00625")); // a transmit frequency cannot be blanked
        w.type(3, 1, ""); // blanking the receive frequency clears the channel
        QCOMPARE(RowTexts(w.grid, 3).join(""), QString());
    }

    void listEditors() {
        Editing w;
        w.type(1, 1, "435");
        ClickCell(w.grid, 1, 4);
        QVERIFY(w.combo8->view()->isVisible()); // the list drops open
        Choose(w.combo8, 156);
        QCOMPARE(w.cell(1, 4), QString("D023I"));
        QVERIFY(!w.combo8->isVisible() && w.grid->hasFocus());
        for (int col = 5; col <= 8; ++col) {
            ClickCell(w.grid, 1, col);
            auto* list = w.find<QComboBox>(QString("Combo5(%1)").arg(col));
            QVERIFY(list->isVisible());
            Choose(list, 1 - list->currentIndex());
            QVERIFY(!list->isVisible());
        }
        QCOMPARE(RowTexts(w.grid, 1, 5, 8), (QStringList{"低", "载波", "窄带", "无"}));
    }

    void typedTones_data() { // typed | shown
        AddRows({"88: 88|88.0", "upper end: 254.1|254.1", "300 restores: 300|D023N",
                 "nothing restores: |D023N"});
    }
    void typedTones() {
        QFETCH(QStringList, row);
        Editing w;
        w.type(1, 1, "435");
        ClickCell(w.grid, 1, 2);
        Choose(w.combo8, 51); // D023N first
        w.type(1, 2, row[0]);
        QVERIFY(!w.combo8->isVisible());
        QCOMPARE(w.cell(1, 2), row[1]);
        w.trigger("mnuEnglish"); // a typed tone survives the language switch
        QCOMPARE(RowTexts(w.grid, 1, 2, 5), (QStringList{row[1], "435.00000", "Off", "High"}));
    }

    void bandChange_data() {
        QTest::addColumn<QString>("answer");
        QTest::newRow("OK") << "确定";
        QTest::newRow("Cancel") << "取消";
    }
    void bandChange() {
        QFETCH(QString, answer);
        Editing w;
        w.type(1, 1, "435");
        auto* band = w.find<QComboBox>("Combo1");
        {
            BoxAnswerer boxes({answer});
            band->setCurrentIndex(5); // 136-174MHz
            QCOMPARE(boxes.count(), 1);
            QCOMPARE(boxes.text(), QString("改变频段将清除频道列表，确定吗？"));
            QCOMPARE(boxes.seen()[0].title, QString("注意！"));
        }
        BoxAnswerer beyond;
        const bool changed = answer == "确定";
        QCOMPARE(band->currentIndex(), changed ? 5 : 0);
        QCOMPARE(w.cell(1, 1), changed ? QString() : QString("435.00000"));
        w.type(2, 1, "150");
        QCOMPARE(w.cell(2, 1), changed ? QString("150.00000") : QString());
        w.type(3, 1, "400");
        QCOMPARE(w.cell(3, 1), changed ? QString() : QString("400.00000"));
        QCOMPARE(beyond.count(), 1);
    }

    // Rows: the step | the Undo item's text.
    void undoRedoEachStep_data() {
        AddRows({"cell|撤销编辑", "setting|撤销功能设置", "band|撤销更改频段", "open|撤销打开",
                 "paste|撤销粘贴", "delete|撤销删除"});
    }
    void undoRedoEachStep() {
        QFETCH(QStringList, row);
        const QString step = row[0];
        Editing w(true);
        const EditorState before = w->editor();
        BoxAnswerer boxes({"确定"});
        EditorState other;
        other.cell(9, ColRxFrequency) = other.cell(9, ColTxFrequency) = "401.00000";
        other.SquelchLevel = 2;
        if (step == "cell")
            w.type(2, 1, "440");
        else if (step == "setting")
            w.find<QComboBox>("Combo9")->setCurrentIndex(8);
        else if (step == "band")
            w.find<QComboBox>("Combo1")->setCurrentIndex(2);
        else if (step == "open")
            w.open(other);
        else if (step == "paste")
            w.paste(5, 1, "450.5\n451\n");
        else if (step == "delete") {
            w.select(1, 1, 2, 8);
            w.trigger("mnuDeleteChannels");
        }
        const EditorState after = w->editor();
        QVERIFY2(!(after == before), "the step changed nothing");
        QAction* undo = w.find<QAction>("mnuUndo");
        QCOMPARE(undo->text(), row[1]);
        undo->trigger();
        QVERIFY(w->editor() == before);
        QCOMPARE(w.cell(2, 1), QString("436.01250"));
        QCOMPARE(undo->text(), QString("撤销打开")); // the fixture's own step is next
        w.trigger("mnuRedo");
        QVERIFY(w->editor() == after);
        QCOMPARE(w.find<QComboBox>("Combo1")->currentIndex(), after.Band);
    }

    void copyRows() {
        Editing w(true);
        w.select(1, 1, 3, 8);
        w.trigger("mnuCopy");
        QCOMPARE(
            QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts),
            (QStringList{"信道\t接收频率\t亚音频\t发射频率\t亚音频\t功率\t禁发\t宽\\窄带\t扫描添加",
                         "01\t435.00000\t关闭\t435.00000\t关闭\t低\t载波\t宽带\t无",
                         "02\t436.01250\t77.0\t436.01250\t关闭\t高\t载波\t宽带\t有",
                         "03\t437.50000\t91.5\t437.50000\tD255I\t低\t载波\t宽带\t无"}));
        w.select(7, 1, 7, 1);
        BoxAnswerer boxes;
        w.trigger("mnuPaste");
        QCOMPARE(boxes.count(), 0); // every value taken
        const QByteArray image = EncodeImage(w->editor());
        QCOMPARE(image.mid(6 * 16, 48), image.mid(0, 48));
    }

    // Rows: channel | column | text (\n, \t) | rows `channel` and the next, "|" between
    // cells | what the message says, empty for none.
    void paste_data() {
        AddRows(
            {"bad values refused: "
             "1|1|信道\\t接收频率\\t亚音频\\t发射频率\\n01\\t480\\t88.5\\t435\\n"
             "02\\t436.5\\t300\\t436.5|435.00000|88.5|435.00000|关闭|低|载波|宽带|无|"
             "436.50000|77.0|436.50000|关闭|高|载波|宽带|有|"
             "信道 01，接收频率：超出频段范围\\n信道 02，亚音频：不是对讲机的亚音频",
             "headings in the other language: 10|3|CH\\tRX frequency\\tQT/DQT\\tTX "
             "frequency\\tQT/DQT\\tPower\\n01\\t445.00625\\tD023N\\t446\\tOff\\tLow|"
             "445.00625|D023N|446.00000|关闭|低|关闭|宽带|有||||||||| ",
             "rows beyond channel 16: 15|1|450\\n451\\n452\\n453|450.00000|关闭|450.00000|关闭|"
             "高|关闭|宽带|有|451.00000|关闭|451.00000|关闭|高|关闭|宽带|有|"
             "另有 2 行超出第 16 信道，未粘贴。",
             "onto channel 16: 16|1|452|452.00000|关闭|452.00000|关闭|高|关闭|宽带|有||||||||| "});
    }
    void paste() {
        QFETCH(QStringList, row);
        for (QString& part : row)
            part.replace("\\n", "\n").replace("\\t", "\t");
        const int channel = row[0].toInt();
        Editing w(true);
        BoxAnswerer boxes;
        w.paste(channel, row[1].toInt(), row[2]);
        QStringList cells = RowTexts(w.grid, channel);
        cells += channel < 16 ? RowTexts(w.grid, channel + 1) : QStringList(8, QString());
        QCOMPARE(cells, row.mid(3, 16));
        const QString complaint = row[19].trimmed();
        QCOMPARE(boxes.count(), complaint.isEmpty() ? 0 : 1);
        for (const QString& line : complaint.split('\n', Qt::SkipEmptyParts))
            QVERIFY2(boxes.text().contains(line), qPrintable(boxes.text()));
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
        w.type(6, 1, "443");
        BoxAnswerer boxes({answer}, {path});
        QCOMPARE(w->close(), closed);
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.text(), QString("频率数据已修改，是否保存？"));
        QTEST(QFile::exists(path), "savedFile");
    }
};

QTEST_MAIN(TestGridEditing)
#include "tst_grid_editing.moc"
