// New, Open and Save As, CSV export and import, through the menus with the file question
// answered.

#include "support/UiTestSupport.h"

#include "codeplug/ChannelRules.h"

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

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
    for (int col = ColPower; col <= ColScanAdd; ++col)
        s.setListCell(1, col, col == ColBclo || col == ColScanAdd);
    s.SquelchLevel = 7;
    s.Settings.EmbeddedMessage[0] = "HELLO";
    return s;
}

} // namespace

class TestFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void saveOpenSave() {
        Window w;
        const QString fresh = w.dir.filePath("new.DAT"), sample = w.dir.filePath("sample.DAT");
        QVERIFY(WriteAll(sample, EncodeImage(Sample())));
        BoxAnswerer boxes({}, {fresh, sample, w.dir.filePath("copy.DAT")});
        w->runToolbarKey("save");
        const QByteArray bytes = ReadAll(fresh);
        QCOMPARE(bytes.size(), 848);
        QCOMPARE(bytes.left(16), QByteArray::fromHex("FFFFFFFFFFFFFFFFFFFFFFFFF8F0FCFF"));
        QCOMPARE(bytes.right(16), QByteArray("73518264") + QByteArray(8, '\x88'));
        w->runToolbarKey("open"); // switches the band without asking
        QCOMPARE(boxes.count(), 0);
        QCOMPARE(RowTexts(w.grid(), 1, 1, 4),
                 (QStringList{"145.00625", "88.5", "145.60000", "D255I"}));
        QCOMPARE(Shown(w.form.get(), QStringList{"Combo9", "Combo1"}),
                 (QStringList{"7 级", "136-174MHz"}));
        w->runToolbarKey("save");
        QCOMPARE(ReadAll(w.dir.filePath("copy.DAT")), ReadAll(sample));
        QCOMPARE(boxes.fileDialogs(), 3);
    }

    void overwriteQuestion_data() { AddRows({"No asks again: 否", "Yes overwrites: 是"}); }
    void overwriteQuestion() {
        QFETCH(QStringList, row);
        const QString answer = row[0];
        Window w;
        const QString existing = w.dir.filePath("old.DAT"), other = w.dir.filePath("other.DAT");
        QVERIFY(WriteAll(existing, "previous contents"));
        BoxAnswerer boxes({answer}, {existing, other, ""});
        w.trigger("mnuAssave");
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.text(), QString("该文件已存在，是否覆盖？"));
        const bool no = answer == "否";
        QCOMPARE(boxes.fileDialogs(), no ? 2 : 1);
        QCOMPARE(ReadAll(existing).size(), no ? 17 : 848);
        QCOMPARE(ReadAll(other).size(), no ? 848 : 12);
    }

    void newChannels_data() { // answer | channels 1 and 3 afterwards
        AddRows({"OK clears: 确定||", "Cancel keeps: 取消|145.00625|146.00000"});
    }
    void newChannels() {
        QFETCH(QStringList, row);
        Window w;
        w.activate();
        w.open(Sample());
        w.type(3, 1, "146", false); // an editor left open
        BoxAnswerer boxes({row[0]});
        w->runToolbarKey("new");
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.text(), QString("所有信道的数据将被清除！"));
        QCOMPARE(boxes.seen()[0].title, QString("警告"));
        w.trigger("mnuCopy");
        QCOMPARE(RowTexts(w.grid(), 1, 1, 1) + RowTexts(w.grid(), 3, 1, 1), row.mid(1));
        QCOMPARE(Shown(w.form.get(), "Combo1"), QString("136-174MHz")); // the band stays
    }

    // Rows: command | file in the test folder | messages | a part of the last one.
    void failures_data() {
        AddRows({"cancelled open: mnuOpen||0|", "cancelled save: mnuAssave||0|",
                 "cancelled import: mnuImportCsv||0|",
                 "save into missing folder: mnuAssave|nowhere/x.DAT|1|写入出错",
                 "import binary: mnuImportCsv|binary.csv|1|",
                 "short file reads as erased: mnuOpen|short.DAT|0|",
                 "named pipe: mnuOpen|fifo.DAT|1|这不是普通文件"});
    }
    void failures() {
        QFETCH(QStringList, row);
        Window w;
        w.open(Sample());
        if (row[1] == "fifo.DAT") {
#ifdef Q_OS_UNIX
            QCOMPARE(mkfifo(QFile::encodeName(w.dir.filePath(row[1])).constData(), 0600), 0);
#else
            QSKIP("no named pipes in the file system here");
#endif
        }
        QVERIFY(WriteAll(w.dir.filePath("binary.csv"), QByteArray("\x00\x01\x02 not a table", 15)));
        QVERIFY(WriteAll(w.dir.filePath("short.DAT"), EncodeImage(Sample()).left(20)));
        BoxAnswerer boxes({}, {row[1].isEmpty() ? QString() : w.dir.filePath(row[1])});
        w.trigger(qPrintable(row[0]));
        QCOMPARE(boxes.count(), row[2].toInt());
        if (boxes.count()) {
            QVERIFY2(boxes.seen().last().text.contains(row[3]), qPrintable(boxes.text()));
            QVERIFY(boxes.seen().last().buttons.size() == 1);
        }
        const bool shortFile = row[1] == "short.DAT"; // channel 1 and a bit of channel 2
        QCOMPARE(RowTexts(w.grid(), 1, 1, 2), (QStringList{"145.00625", "88.5"}));
        QCOMPARE(w.grid()->text(2, 1), QString());
        QCOMPARE(Shown(w.form.get(), "Combo9"), QString("7 级")); // an erased byte: kept
        QCOMPARE(w->editor().Settings.TxHighPower, shortFile ? 255 : 63);
    }

    void exportCsv() {
        Window w;
        EditorState s;
        s.cell(2, ColRxFrequency) = s.cell(2, ColTxFrequency) = "435.00000";
        s.setListCell(2, ColRxTone, 9);
        s.setListCell(2, ColTxTone, 0);
        for (int col = ColPower; col <= ColScanAdd; ++col)
            s.setListCell(2, col, 1);
        w.open(s);
        const QString path = w.dir.filePath("out.csv");
        BoxAnswerer boxes({}, {path});
        w.trigger("mnuExportCsv");
        QCOMPARE(
            ReadAll(path),
            QByteArray("Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,"
                       "DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,"
                       "RPT1CALL,RPT2CALL,DVCODE\r\n2,,435.000000,,0.000000,Cross,88.5,88.5,"
                       "023,NN,023,->Tone,FM,5.00,,5.0W,BCLO,,,,\r\n"));
    }

    void importCsv_data() {
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QStringList>("column"); // receive frequencies of channels 1 to 5
        QTest::newRow("cancel") << QStringList{"取消"} << QStringList{"460.00000", "", "", "", ""};
        QTest::newRow("by location")
            << QStringList{"是"} << QStringList{"", "", "435.01250", "", "440.00000"};
        QTest::newRow("in file order")
            << QStringList{"否", "是"} << QStringList{"435.01250", "440.00000", "", "", ""};
    }
    void importCsv() {
        QFETCH(QStringList, answers);
        QFETCH(QStringList, column);
        Window w;
        EditorState s;
        FillNewChannel(s, 1, "460.00000");
        s.cell(1, ColRxFrequency) = "460.00000";
        w.open(s);
        const QString path = w.dir.filePath("in.csv");
        QVERIFY(WriteAll(path, "Location,Frequency,Tone,rToneFreq\n3,435.0137,Tone,88.5\n"
                               "5,440.000000,,\n7,150.000000,,\n"));
        BoxAnswerer boxes(answers, {path});
        w.trigger("mnuImportCsv");
        QCOMPARE(boxes.count(), answers.size());
        QVERIFY2(boxes.text().contains("4"), qPrintable(boxes.text())); // the refused line
        QStringList shown;
        for (int row = 1; row <= 5; ++row)
            shown << w.grid()->text(row, 1);
        QCOMPARE(shown, column);
        if (answers.last() != "是")
            return;
        QCOMPARE(w.grid()->text(column.indexOf("435.01250") + 1, 4), QString("88.5"));
        QCOMPARE(w.find<QAction>("mnuUndo")->text(), QString("撤销导入 CSV"));
        w.trigger("mnuUndo");
        QCOMPARE(RowTexts(w.grid(), 1, 1, 1) + RowTexts(w.grid(), 3, 1, 1),
                 (QStringList{"460.00000", ""}));
    }
};

QTEST_MAIN(TestFiles)
#include "tst_files.moc"
