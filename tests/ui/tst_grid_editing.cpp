// Editing the channel grid: its floating editors, undo and redo, the channel clipboard (the
// band selector and leaving with changes are tst_files' rows).

#include "support/UiTestSupport.h"

#include "ui/dialogs/SettingsDialog.h"

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

// A shown, active main window with Channels() opened from a file.
struct Editing : Window {
    Editing() {
        activate();
        open(Channels());
    }
    void select(int top, int left, int bottom, int right) const {
        grid()->clearSelection();
        grid()->setCurrentCell(top, left);
        grid()->setRangeSelected(QTableWidgetSelectionRange(top, left, bottom, right), true);
    }
};

} // namespace

class TestGridEditing : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Rows: steps | the first channel checked | its cells and the next channels' | the message,
    // "=" first when it is the whole text. Steps, ";" between: "R,C=text" types into a cell,
    // "R,C:N" chooses entry N of its list, "R,C<text" pastes there (\n, \t), or a menu item.
    void edit_data() {
        AddRows({
            "snapped to 6.25 kHz: 2,1=435.0137|2|435.01250|",
            "upper limit: 2,1=470|2|470.00000|",
            "lower limit: 2,1=400|2|400.00000|",
            "above: 2,1=470.001|2|436.01250|=超出频段范围",
            "below: 2,1=399.99|2|436.01250|=超出频段范围",
            "English: mnuEnglish;2,1=4350|2|436.01250|=Beyond the frequency range",
            "new channel defaults: 5,1=435.0137|5|435.01250|关闭|435.01250|关闭|高|关闭|宽带|有|",
            "receive alone, blanked TX kept: 5,1=435;5,3=440.00625;5,1=436;5,3=|5|436.00000|关闭|"
            "440.00625|",
            "blanked receive clears: 2,1=|2|||||||||",
            "list editors: 5,1=435;5,4:156;5,5:0;5,6:1;5,7:0;5,8:0|5|435.00000|关闭|435.00000|"
            "D023I|低|载波|窄带|无|",
            "typed tone: "
            "1,2:51;1,2=88;mnuEnglish|1|435.00000|88.0|435.00000|Off|Low|Carrier|Wide|No|",
            "upper typed tone: 1,2:51;1,2=254.1|1|435.00000|254.1|",
            "300 restores: 1,2:51;1,2=300|1|435.00000|D023N|",
            "nothing restores: 1,2:51;1,2=|1|435.00000|D023N|",
            "bad values refused: "
            "1,1<信道\\t接收频率\\t亚音频\\t发射频率\\n01\\t480\\t88.5\\t435\\n"
            "02\\t436.5\\t300\\t436.5|1|435.00000|88.5|435.00000|关闭|低|载波|宽带|无|"
            "436.50000|77.0|436.50000|关闭|高|载波|宽带|有|"
            "信道 01，接收频率：超出频段范围\\n信道 02，亚音频：不是对讲机的亚音频",
            "headings in the other language: 10,3<CH\\tRX frequency\\tQT/DQT\\tTX "
            "frequency\\tQT/DQT\\tPower\\n01\\t445.00625\\tD023N\\t446\\tOff\\tLow|10|"
            "445.00625|D023N|446.00000|关闭|低|关闭|宽带|有||||||||||",
            "rows beyond channel 16: 15,1<450\\n451\\n452\\n453|15|450.00000|关闭|450.00000|关闭|"
            "高|关闭|宽带|有|451.00000|关闭|451.00000|关闭|高|关闭|宽带|有|"
            "另有 2 行超出第 16 信道，未粘贴。",
            "onto channel 16: 16,1<452|16|452.00000|关闭|452.00000|关闭|高|关闭|宽带|有|",
        });
    }
    void edit() {
        QFETCH(QStringList, row);
        Editing w;
        BoxAnswerer boxes;
        for (const QString& step : row[0].split(';')) {
            const qsizetype at = step.indexOf(QRegularExpression("[=:<]"));
            const int r = step.section(',', 0, 0).toInt(),
                      c = step.mid(0, at).section(',', 1).toInt();
            const QString text =
                QString(step.mid(at + 1)).replace("\\n", "\n").replace("\\t", "\t");
            if (step.startsWith("mnu")) {
                w.trigger(qPrintable(step));
            } else if (step[at] == u'=') {
                w.type(r, c, text);
            } else if (step[at] == u'<') {
                w.select(r, c, r, c);
                QApplication::clipboard()->setText(text);
                w.trigger("mnuPaste");
            } else {
                ClickCell(w.grid(), r, c);
                auto* list = w.find<QComboBox>(c < 5 ? "Combo8" : QString("Combo5(%1)").arg(c));
                QVERIFY(list->view()->isVisible()); // the list drops open
                list->view()->setCurrentIndex(list->model()->index(text.toInt(), 0));
                QTest::keyClick(list->view(), Qt::Key_Return);
                QVERIFY(!list->isVisible());
            }
            QVERIFY(!w.find<QLineEdit>("Text1")->isVisible());
        }
        const QString message = row.takeLast();
        const QStringList expected = row.mid(2);
        QStringList cells;
        for (int r = row[1].toInt(); cells.size() < expected.size(); ++r)
            cells += RowTexts(w.grid(), r);
        QCOMPARE(cells.mid(0, expected.size()), expected);
        QCOMPARE(boxes.count(), message.isEmpty() ? 0 : 1);
        if (message.startsWith('='))
            QCOMPARE(boxes.text(), message.mid(1));
        for (const QString& line : message.split("\\n", Qt::SkipEmptyParts))
            QVERIFY2(message.startsWith('=') || boxes.text().contains(line),
                     qPrintable(boxes.text()));
        QCOMPARE(w->focusWidget(), static_cast<QWidget*>(w.grid()));
    }

    // Rows: the step | the Undo item's text.
    void undoRedoEachStep_data() {
        AddRows({"cell|撤销编辑", "setting|撤销功能设置", "band|撤销更改频段", "open|撤销打开",
                 "paste|撤销粘贴", "delete|撤销删除"});
    }
    void undoRedoEachStep() {
        QFETCH(QStringList, row);
        const QString step = row[0];
        Editing w;
        // What the user left in the dialogs is theirs: undo of a cell does not take it back.
        auto* message = qobject_cast<SettingsDialog*>(w->windowNamed("Form7"));
        message->showDialog();
        QTest::keyClicks(message->findChild<QLineEdit*>("Text1"), "HELLO");
        w->activateWindow();
        const EditorState before = w->editor();
        BoxAnswerer boxes({"确定"});
        EditorState other;
        other.cell(9, ColRxFrequency) = other.cell(9, ColTxFrequency) = "401.00000";
        if (step == "cell")
            w.type(2, 1, "440");
        else if (step == "setting")
            w.find<QComboBox>("Combo9")->setCurrentIndex(8);
        else if (step == "band")
            w.find<QComboBox>("Combo1")->setCurrentIndex(2);
        else if (step == "open")
            w.open(other);
        else {
            w.select(step == "paste" ? 5 : 1, 1, step == "paste" ? 5 : 2, step == "paste" ? 1 : 8);
            QApplication::clipboard()->setText("450.5\n451\n");
            w.trigger(step == "paste" ? "mnuPaste" : "mnuDeleteChannels");
        }
        const EditorState after = w->editor();
        QVERIFY2(!(after == before), "the step changed nothing");
        QAction* undo = w.find<QAction>("mnuUndo");
        QCOMPARE(undo->text(), row[1]);
        undo->trigger();
        QVERIFY(w->editor() == before);
        QCOMPARE(w.grid()->text(2, 1), QString("436.01250"));
        QCOMPARE(undo->text(), QString("撤销打开")); // the fixture's own step is next
        if (step != "open")
            QCOMPARE(Shown(message, "Text1"), QString("HELLO"));
        w.trigger("mnuRedo");
        QVERIFY(w->editor() == after);
        QCOMPARE(w.find<QComboBox>("Combo1")->currentIndex(), after.Band);
    }

    void copyRows() {
        Editing w;
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
};

QTEST_MAIN(TestGridEditing)
#include "tst_grid_editing.moc"
