// CSV export and import from the File menu: the summary, the placement choice and the undo step.

#include "support/UiTestSupport.h"

#include "codeplug/ChannelRules.h"
#include "codeplug/ChirpCsv.h"
#include "ui/main/EditCommands.h"
#include "ui/main/FileCommands.h"

#include <QAction>

using namespace tr640;
using namespace tr640::test;

namespace {

void Use(Window& w, const QString& path) {
    w->files().setChooser([path](FileCommands::Purpose, QWidget*) { return path; });
}

QString Write(const QTemporaryDir& dir, const char* name, const QByteArray& text) {
    const QString path = dir.filePath(name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(text);
    return path;
}

const QByteArray kTwoChannels = "Location,Frequency,Tone,rToneFreq\n"
                                "3,435.0137,Tone,88.5\n"
                                "5,440.000000,,\n"
                                "7,150.000000,,\n";

} // namespace

class TestCsvWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void exportWritesChirpFile();
    void importAsks_data();
    void importAsks();
    void unreadableFile();
    void chirpSampleList();
};

void TestCsvWindow::exportWritesChirpFile() {
    Window w;
    EditorState s;
    s.cell(2, ColRxFrequency) = s.cell(2, ColTxFrequency) = "435.00000";
    for (int col = ColRxTone; col <= ColScanAdd; ++col)
        if (col != ColTxFrequency)
            s.setListCell(2, col, col == ColRxTone || col == ColTxTone ? 0 : 1);
    w->replaceEditor(s);
    const QString path = w.dir.filePath("out.csv");
    Use(w, path);
    w.find<QAction>("mnuExportCsv")->trigger();
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), ExportChirpCsvFile(w->editor()));
}

void TestCsvWindow::importAsks_data() {
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QList<int>>("channels"); // channels in use afterwards
    QTest::newRow("cancel") << QStringList{"取消"} << QList<int>{1};
    QTest::newRow("by location") << QStringList{"是"} << QList<int>{3, 5};
    QTest::newRow("in file order") << QStringList{"否", "是"} << QList<int>{1, 2};
}

void TestCsvWindow::importAsks() {
    QFETCH(QStringList, answers);
    QFETCH(QList<int>, channels);
    Window w;
    EditorState s;
    s.cell(1, ColRxFrequency) = "460.00000";
    FillNewChannel(s, 1, "460.00000");
    w->replaceEditor(s);
    const EditorState before = w->editor();
    Use(w, Write(w.dir, "in.csv", kTwoChannels));
    BoxAnswerer boxes(answers);
    w.find<QAction>("mnuImportCsv")->trigger();
    QCOMPARE(boxes.count(), answers.size());
    // The summary names the refused row by its line.
    QVERIFY2(boxes.seen()[0].text.contains("4"), qPrintable(boxes.seen()[0].text));
    QList<int> inUse;
    for (int row = 1; row <= 16; ++row)
        if (w->editor().channelInUse(row))
            inUse << row;
    QCOMPARE(inUse, channels);
    if (answers.last() == "是") {
        QCOMPARE(w->editor().cell(channels[0], ColRxFrequency), QString("435.01250"));
        QCOMPARE(w->editor().cell(channels[0], ColTxTone), QString("88.5"));
        QCOMPARE(w.find<QAction>("mnuUndo")->text(), QString("撤销导入 CSV"));
        w->edits().undo();
    }
    QVERIFY(w->editor() == before);
}

void TestCsvWindow::unreadableFile() {
    Window w;
    const EditorState before = w->editor();
    static constexpr char kBinary[] = "\x00\x01\x02 not a table";
    Use(w, Write(w.dir, "bad.csv", QByteArray(kBinary, sizeof kBinary - 1)));
    BoxAnswerer boxes;
    w->files().mnuImportCsv();
    QCOMPARE(boxes.count(), 1);
    QVERIFY(w->editor() == before);
    Use(w, w.dir.filePath("missing.csv"));
    w->files().mnuImportCsv();
    QCOMPARE(boxes.count(), 2);
    QVERIFY(boxes.seen()[1].text.contains("文件不存在"));
}

void TestCsvWindow::chirpSampleList() {
    const QString sample =
        QStringLiteral(TR640_SOURCE_DIR "/../shared/testdata/chirp/US FRS and GMRS Channels.csv");
    if (!QFile::exists(sample))
        QSKIP("CHIRP's sample lists are not here");
    Window w;
    Use(w, sample);
    BoxAnswerer boxes({"是"});
    w->files().mnuImportCsv();
    for (int row = 1; row <= 16; ++row)
        QVERIFY(w->editor().channelInUse(row));
    QCOMPARE(w->editor().cell(1, ColRxFrequency), QString("462.56250"));
    QVERIFY(boxes.seen()[0].text.contains("36"));
}

QTEST_MAIN(TestCsvWindow)
#include "tst_csv_window.moc"
