// New, Open and Save As through the real commands, with the file dialog replaced.

#include "support/UiTestSupport.h"

#include "codeplug/Codec.h"
#include "ui/main/FileCommands.h"
#include "ui/widgets/FlexGrid.h"

#include <QComboBox>
#include <QDir>

using namespace tr640;
using namespace tr640::test;

namespace {

// A codeplug with channels, settings and a band other than the start-up one.
EditorState Sample() {
    EditorState s;
    s.Band = s.CurrentBandIndex = 5;
    s.cell(1, ColRxFrequency) = "145.00625";
    s.cell(1, ColTxFrequency) = "145.60000";
    s.setListCell(1, ColRxTone, 9);
    s.setListCell(1, ColTxTone, 200);
    s.setListCell(1, ColPower, 0);
    s.setListCell(1, ColBclo, 1);
    s.setListCell(1, ColBandwidth, 0);
    s.setListCell(1, ColScanAdd, 1);
    s.SquelchLevel = 7;
    s.Settings.EmbeddedMessage[0] = "HELLO";
    s.Settings.TestRxFrequency[3] = "150.00000";
    return s;
}

// Answers the file dialog with the given paths in turn.
void ChooseFiles(Window& w, QStringList paths, int* asked = nullptr) {
    w->files().setChooser([paths, asked](FileCommands::Purpose, QWidget*) mutable {
        if (asked)
            ++*asked;
        return paths.isEmpty() ? QString() : paths.takeFirst();
    });
}

} // namespace

class TestFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void saveAfterStartup();
    void openThenSaveReproducesTheFile();
    void openSwitchesBandWithoutAsking();
    void overwriteQuestion_data();
    void overwriteQuestion();
    void cancelIsSilent();
    void newChannels_data();
    void newChannels();
    void shortFileReadsAsErased();
    void failures_data();
    void failures();
    void filterText() { QCOMPARE(FileCommands::FilterText(), QString("TR-640 Software(*.DAT)")); }
};

void TestFiles::saveAfterStartup() {
    Window w;
    const QString path = w.dir.filePath("new.DAT");
    ChooseFiles(w, {path});
    BoxAnswerer boxes;
    w->runToolbarKey("save");
    QCOMPARE(boxes.count(), 0); // no message confirms a save
    const QByteArray bytes = ReadAll(path);
    QCOMPARE(bytes.size(), 848);
    QCOMPARE(bytes, EncodeImage(EditorState()));
    QCOMPARE(bytes.left(16), QByteArray::fromHex("FFFFFFFFFFFFFFFFFFFFFFFFF8F0FCFF"));
    QCOMPARE(bytes.right(16), QByteArray("73518264") + QByteArray(8, '\x88'));
}

void TestFiles::openThenSaveReproducesTheFile() {
    Window w;
    const QString original = w.dir.filePath("sample.DAT");
    const QString copy = w.dir.filePath("copy.DAT");
    QVERIFY(WriteAll(original, EncodeImage(Sample())));
    ChooseFiles(w, {original, copy});
    w->runToolbarKey("open");
    auto* grid = w.find<FlexGrid>("Grid1");
    QCOMPARE(grid->text(1, 1), QString("145.00625"));
    QCOMPARE(grid->text(1, 4), QString("D255I"));
    QCOMPARE(w.find<QComboBox>("Combo9")->currentIndex(), 7);
    QCOMPARE(w->editor().Settings.EmbeddedMessage[0], QString("HELLO"));
    w->runToolbarKey("save");
    QCOMPARE(ReadAll(copy), ReadAll(original));
}

void TestFiles::openSwitchesBandWithoutAsking() {
    Window w;
    const QString path = w.dir.filePath("vhf.DAT");
    QVERIFY(WriteAll(path, EncodeImage(Sample())));
    BoxAnswerer boxes;
    QVERIFY(w->files().openFile(path));
    QCOMPARE(boxes.count(), 0);
    QCOMPARE(w.find<QComboBox>("Combo1")->currentText(), QString("136-174MHz"));
    QCOMPARE(w->BandLow(), 136);
    QCOMPARE(w.find<FlexGrid>("Grid1")->text(1, 3), QString("145.60000"));
}

void TestFiles::overwriteQuestion_data() {
    QTest::addColumn<QString>("answer");
    QTest::newRow("No asks again") << "否";
    QTest::newRow("Yes overwrites") << "是";
}

void TestFiles::overwriteQuestion() {
    QFETCH(QString, answer);
    Window w;
    const QString existing = w.dir.filePath("old.DAT");
    const QString other = w.dir.filePath("other.DAT");
    QVERIFY(WriteAll(existing, "previous contents"));
    int asked = 0;
    ChooseFiles(w, {existing, other}, &asked);
    BoxAnswerer boxes({answer});
    w->files().mnuAssave();
    QCOMPARE(boxes.count(), 1);
    QCOMPARE(boxes.seen()[0].text, QString("该文件已存在，是否覆盖？"));
    QCOMPARE(boxes.seen()[0].title, QString("TR-640 Software"));
    QCOMPARE(boxes.seen()[0].buttons, (QStringList{"是", "否"}));
    if (answer == "否") {
        QCOMPARE(asked, 2);
        QCOMPARE(ReadAll(existing), QByteArray("previous contents"));
        QCOMPARE(ReadAll(other), EncodeImage(EditorState()));
    } else {
        QCOMPARE(asked, 1);
        QCOMPARE(ReadAll(existing), EncodeImage(EditorState()));
        QVERIFY(!QFile::exists(other));
    }
}

void TestFiles::cancelIsSilent() {
    Window w;
    ChooseFiles(w, {});
    BoxAnswerer boxes;
    const EditorState before = w->editor();
    w->files().mnuOpen();
    w->files().mnuAssave();
    QCOMPARE(boxes.count(), 0);
    QVERIFY(w->editor() == before);
}

void TestFiles::newChannels_data() {
    QTest::addColumn<QString>("answer");
    QTest::newRow("OK clears") << "确定";
    QTest::newRow("Cancel keeps") << "取消";
}

void TestFiles::newChannels() {
    QFETCH(QString, answer);
    Window w;
    w->replaceEditor(Sample());
    BoxAnswerer boxes({answer});
    w->runToolbarKey("new");
    QCOMPARE(boxes.count(), 1);
    QCOMPARE(boxes.seen()[0].text, QString("所有信道的数据将被清除！"));
    QCOMPARE(boxes.seen()[0].title, QString("警告"));
    QCOMPARE(boxes.seen()[0].icon, QMessageBox::Warning);
    const EditorState& e = w->editor();
    QCOMPARE(e.channelInUse(1), answer == "取消");
    QCOMPARE(w.find<FlexGrid>("Grid1")->text(1, 5).isEmpty(), answer == "确定");
    // Settings and band stay whatever the answer.
    QCOMPARE(e.Band, 5);
    QCOMPARE(e.SquelchLevel, 7);
    QCOMPARE(e.Settings.EmbeddedMessage[0], QString("HELLO"));
    QCOMPARE(e.listIndex(1, ColScanAdd), 1); // New keeps the list positions
}

void TestFiles::shortFileReadsAsErased() {
    Window w;
    const QString path = w.dir.filePath("short.DAT");
    QByteArray bytes = EncodeImage(Sample()).left(20); // channel 1 and a bit of channel 2
    QVERIFY(WriteAll(path, bytes));
    QVERIFY(w->files().openFile(path));
    const EditorState& e = w->editor();
    QCOMPARE(e.cell(1, ColRxFrequency), QString("145.00625"));
    QVERIFY(!e.channelInUse(2));
    QCOMPARE(e.SquelchLevel, 4); // an erased byte is out of range: kept
    QCOMPARE(e.Settings.TxHighPower, 255);
}

void TestFiles::failures_data() {
    QTest::addColumn<bool>("save");
    QTest::addColumn<QString>("target"); // relative to the test folder
    QTest::addColumn<QString>("reason");
    QTest::newRow("open missing") << false << "missing.DAT"
                                  << "文件不存在";
    QTest::newRow("open folder") << false << "folder"
                                 << "这是一个文件夹";
    QTest::newRow("save onto folder") << true << "folder"
                                      << "这是一个文件夹";
    QTest::newRow("save into missing folder") << true << "nowhere/x.DAT"
                                              << "写入出错";
}

void TestFiles::failures() {
    QFETCH(bool, save);
    QFETCH(QString, target);
    QFETCH(QString, reason);
    Window w;
    QDir(w.dir.path()).mkdir("folder");
    const QString path = w.dir.filePath(target);
    ChooseFiles(w, {path});
    w->replaceEditor(Sample());
    const EditorState before = w->editor();
    BoxAnswerer boxes;
    if (save)
        w->files().mnuAssave();
    else
        w->files().mnuOpen();
    QCOMPARE(boxes.count(), save && target == "folder" ? 2 : 1); // a folder exists: asked first
    const SeenBox& shown = boxes.seen().last();
    QVERIFY2(shown.text.contains(QDir::toNativeSeparators(path)), qPrintable(shown.text));
    QVERIFY2(shown.text.contains(reason), qPrintable(shown.text));
    QCOMPARE(shown.icon, QMessageBox::Critical);
    QVERIFY(w->editor() == before);
    QVERIFY(QFileInfo(w.dir.filePath("folder")).isDir());
}

QTEST_MAIN(TestFiles)
#include "tst_files.moc"
