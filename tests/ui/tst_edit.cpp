// Undo and redo, the channel clipboard, and the unsaved-changes mark.

#include "support/UiTestSupport.h"

#include "codeplug/Codec.h"
#include "ui/main/EditCommands.h"
#include "ui/main/FileCommands.h"
#include "ui/widgets/FlexGrid.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>

using namespace tr640;
using namespace tr640::test;

namespace {

EditorState Channels() {
    EditorState s;
    const char* rx[] = {"435.00000", "436.01250", "437.50000"};
    for (int i = 0; i < 3; ++i) {
        const int row = i + 1;
        s.cell(row, ColRxFrequency) = s.cell(row, ColTxFrequency) = QString::fromLatin1(rx[i]);
        s.setListCell(row, ColRxTone, 5 * i);
        s.setListCell(row, ColTxTone, i == 2 ? 200 : 0);
        s.setListCell(row, ColPower, i % 2);
        s.setListCell(row, ColBclo, 1);
        s.setListCell(row, ColBandwidth, 1);
        s.setListCell(row, ColScanAdd, i % 2);
    }
    return s;
}

struct Editing : Window {
    Editing() {
        form->show();
        QApplication::setActiveWindow(form.get());
        (void)QTest::qWaitForWindowActive(form.get());
        form->replaceEditor(Channels(), EditKind::Open);
        form->edits().markClean();
    }
    FlexGrid* grid() const { return find<FlexGrid>("Grid1"); }
    void select(int top, int left, int bottom, int right) {
        grid()->clearSelection();
        grid()->setCurrentCell(top, left);
        grid()->setRangeSelected(QTableWidgetSelectionRange(top, left, bottom, right), true);
    }
    void typeFrequency(int row, const QString& text) {
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {},
                          grid()->visualRect(grid()->model()->index(row, 1)).center());
        auto* editor = find<QLineEdit>("Text1");
        editor->clear();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
    }
};

} // namespace

class TestEdit : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void undoRedoEachStep_data();
    void undoRedoEachStep();
    void undoKeepsDialogSettings();
    void manySteps();
    void copyAndPasteRows();
    void pasteRefusesBadValues();
    void pasteByHeadingsInTheOtherLanguage();
    void unsavedMark();
    void exitWithChanges_data();
    void exitWithChanges();
};

void TestEdit::undoRedoEachStep_data() {
    QTest::addColumn<int>("step");
    QTest::addColumn<QString>("undoText");
    QTest::newRow("cell") << 0 << "撤销编辑";
    QTest::newRow("clear channel") << 1 << "撤销删除信道";
    QTest::newRow("setting") << 2 << "撤销功能设置";
    QTest::newRow("new") << 3 << "撤销新建";
    QTest::newRow("band") << 4 << "撤销更改频段";
    QTest::newRow("open") << 5 << "撤销打开";
    QTest::newRow("paste") << 6 << "撤销粘贴";
    QTest::newRow("cut") << 7 << "撤销剪切";
    QTest::newRow("delete") << 8 << "撤销删除";
}

void TestEdit::undoRedoEachStep() {
    QFETCH(int, step);
    QFETCH(QString, undoText);
    Editing w;
    QTemporaryDir files;
    const EditorState before = w->editor();
    BoxAnswerer boxes({"确定"});
    switch (step) {
    case 0:
        w.typeFrequency(2, "440");
        break;
    case 1:
        w.typeFrequency(2, "");
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
    case 5: {
        EditorState other;
        other.cell(9, ColRxFrequency) = other.cell(9, ColTxFrequency) = "401.00000";
        other.SquelchLevel = 2;
        QFile f(files.filePath("o.DAT"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(EncodeImage(other));
        f.close();
        QVERIFY(w->files().openFile(f.fileName()));
        break;
    }
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
    QCOMPARE(undo->text(), undoText);
    undo->trigger();
    QVERIFY(w->editor() == before);
    QCOMPARE(w.find<FlexGrid>("Grid1")->text(2, 1), before.cell(2, ColRxFrequency));
    QCOMPARE(undo->text(), QString("撤销打开")); // the fixture's own step is next
    w.find<QAction>("mnuRedo")->trigger();
    QVERIFY(w->editor() == after);
    QCOMPARE(w.find<QComboBox>("Combo1")->currentIndex(), after.Band);
}

void TestEdit::undoKeepsDialogSettings() {
    Editing w;
    w.typeFrequency(2, "440");
    w->editor().Settings.EmbeddedMessage[0] = "LATER"; // committed by a dialog meanwhile
    w.find<QAction>("mnuUndo")->trigger();
    QCOMPARE(w->editor().cell(2, ColRxFrequency), QString("436.01250"));
    QCOMPARE(w->editor().Settings.EmbeddedMessage[0], QString("LATER"));
}

void TestEdit::manySteps() {
    Editing w;
    const EditorState start = w->editor();
    for (int i = 0; i < 60; ++i)
        w.typeFrequency(1 + i % 16, QString::number(401 + i));
    for (int i = 0; i < 60; ++i)
        w->edits().undo();
    QVERIFY(w->editor() == start);
}

void TestEdit::copyAndPasteRows() {
    Editing w;
    w.select(1, 1, 3, 8);
    w->edits().copy();
    const QString text = QApplication::clipboard()->text();
    QStringList lines = text.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines[0],
             QString("信道\t接收频率\t亚音频\t发射频率\t亚音频\t功率\t禁发\t宽\\窄带\t扫描添加"));
    QCOMPARE(lines[3].split('\t')[4], QString("D255I"));
    w.select(7, 1, 7, 1);
    w->edits().paste();
    for (int i = 0; i < 3; ++i)
        for (int col = 1; col <= 8; ++col) {
            QCOMPARE(w->editor().cell(7 + i, col), w->editor().cell(1 + i, col));
            if (col >= 2)
                QCOMPARE(w->editor().listIndex(7 + i, col), w->editor().listIndex(1 + i, col));
        }
    QCOMPARE(EncodeImage(w->editor()).mid(6 * 16, 48), EncodeImage(w->editor()).mid(0, 48));
}

void TestEdit::pasteRefusesBadValues() {
    Editing w;
    w.select(1, 1, 1, 1);
    BoxAnswerer boxes;
    w->edits().pasteText("信道\t接收频率\t亚音频\t发射频率\n"
                         "01\t480\t88.5\t435\n"
                         "02\t436.5\t300\t436.5\n");
    QCOMPARE(w->editor().cell(1, ColRxFrequency), QString("435.00000")); // 480 is out of band
    QCOMPARE(w->editor().cell(1, ColTxFrequency), QString("435.00000"));
    QCOMPARE(w->editor().cell(1, ColRxTone), QString("88.5"));
    QCOMPARE(w->editor().cell(2, ColRxFrequency), QString("436.50000"));
    QCOMPARE(w->editor().cell(2, ColRxTone), QString("77.0")); // 300 Hz refused
    QCOMPARE(boxes.count(), 1);
    QVERIFY2(boxes.seen()[0].text.contains("信道 01，接收频率：超出频段范围"),
             qPrintable(boxes.seen()[0].text));
    QVERIFY2(boxes.seen()[0].text.contains("信道 02，亚音频：不是对讲机的亚音频"),
             qPrintable(boxes.seen()[0].text));
}

void TestEdit::pasteByHeadingsInTheOtherLanguage() {
    Editing w;
    w.select(10, 3, 10, 3); // the headings decide the columns, not the current one
    w->edits().pasteText("CH\tRX frequency\tQT/DQT\tTX frequency\tQT/DQT\tPower\n"
                         "01\t445.00625\tD023N\t446\tOff\tLow\n");
    QCOMPARE(w->editor().cell(10, ColRxFrequency), QString("445.00625"));
    QCOMPARE(w->editor().cell(10, ColRxTone), QString("D023N"));
    QCOMPARE(w->editor().cell(10, ColTxFrequency), QString("446.00000"));
    QCOMPARE(w->editor().cell(10, ColTxTone), QString("关闭"));
    QCOMPARE(w->editor().cell(10, ColPower), QString("低"));
    QCOMPARE(w->editor().cell(10, ColScanAdd), QString("有")); // a new channel's default
}

void TestEdit::unsavedMark() {
    Editing w;
    const QString clean = w->windowTitle();
    QVERIFY(!clean.endsWith('*'));
    w.typeFrequency(4, "441");
    QVERIFY(w->windowTitle().endsWith(" *"));
    w->edits().undo();
    QCOMPARE(w->windowTitle(), clean); // back to what was opened
    w.typeFrequency(4, "441");
    QVERIFY(w->files().saveFile(w.dir.filePath("saved.DAT")));
    QCOMPARE(w->windowTitle(), clean);
    w.find<QAction>("mnuEnglish")->trigger();
    w.typeFrequency(5, "442");
    QCOMPARE(w->windowTitle(), QString("KESTRA Radio Software V1.20 *"));
}

void TestEdit::exitWithChanges_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("savedFile");
    QTest::newRow("Yes saves and exits") << "是" << true << true;
    QTest::newRow("No exits") << "否" << true << false;
    QTest::newRow("Cancel stays") << "取消" << false << false;
}

void TestEdit::exitWithChanges() {
    QFETCH(QString, answer);
    QFETCH(bool, closed);
    QFETCH(bool, savedFile);
    Editing w;
    const QString path = w.dir.filePath("exit.DAT");
    w->files().setChooser([&](FileCommands::Purpose, QWidget*) { return path; });
    w.typeFrequency(6, "443");
    BoxAnswerer boxes({answer});
    const bool result = w->close();
    QCOMPARE(boxes.count(), 1);
    QCOMPARE(boxes.seen()[0].text, QString("频率数据已修改，是否保存？"));
    QCOMPARE(result, closed);
    QCOMPARE(QFile::exists(path), savedFile);
    QCOMPARE(QFile::exists(w.dir.filePath("parameter")) && closed, closed);
}

QTEST_MAIN(TestEdit)
#include "tst_edit.moc"
