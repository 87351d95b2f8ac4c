// New, Open and Save As, CSV export and import, through the real commands with the file
// dialog replaced.

#include "support/UiTestSupport.h"

#include "codeplug/ChannelRules.h"
#include "ui/main/EditCommands.h"
#include "ui/main/FileCommands.h"

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
    for (int col = ColPower; col <= ColScanAdd; ++col)
        s.setListCell(1, col, col == ColBclo || col == ColScanAdd);
    s.SquelchLevel = 7;
    s.Settings.EmbeddedMessage[0] = "HELLO";
    s.Settings.TestRxFrequency[3] = "150.00000";
    return s;
}

// Answers the file dialog with the given paths in turn (then cancels), counting the questions.
void ChooseFiles(Window& w, QStringList paths, int* asked = nullptr) {
    w->files().setChooser([paths, asked](FileCommands::Purpose, QWidget*) mutable {
        if (asked)
            ++*asked;
        return paths.isEmpty() ? QString() : paths.takeFirst();
    });
}

QList<int> ChannelsInUse(const EditorState& e) {
    QList<int> rows;
    for (int row = 1; row <= 16; ++row)
        if (e.channelInUse(row))
            rows << row;
    return rows;
}

} // namespace

class TestFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void saveOpenSave() {
        Window w;
        const QString fresh = w.dir.filePath("new.DAT"), sample = w.dir.filePath("sample.DAT");
        const QString copy = w.dir.filePath("copy.DAT");
        ChooseFiles(w, {fresh, sample, copy});
        BoxAnswerer boxes;
        w->runToolbarKey("save");
        const QByteArray bytes = ReadAll(fresh);
        QCOMPARE(bytes.size(), 848);
        QCOMPARE(bytes, EncodeImage(EditorState()));
        QCOMPARE(bytes.left(16), QByteArray::fromHex("FFFFFFFFFFFFFFFFFFFFFFFFF8F0FCFF"));
        QCOMPARE(bytes.right(16), QByteArray("73518264") + QByteArray(8, '\x88'));
        QVERIFY(WriteAll(sample, EncodeImage(Sample())));
        w->runToolbarKey("open");   // switches the band without asking
        QCOMPARE(boxes.count(), 0); // no message confirms a save or asks about the band
        QCOMPARE(RowTexts(w.find<FlexGrid>("Grid1"), 1, 1, 4),
                 (QStringList{"145.00625", "88.5", "145.60000", "D255I"}));
        QCOMPARE(w.find<QComboBox>("Combo9")->currentIndex(), 7);
        QCOMPARE(w.find<QComboBox>("Combo1")->currentText(), QString("136-174MHz"));
        QCOMPARE(w->BandLow(), 136);
        QCOMPARE(w->editor().Settings.EmbeddedMessage[0], QString("HELLO"));
        w->runToolbarKey("save");
        QCOMPARE(ReadAll(copy), ReadAll(sample));
        QCOMPARE(FileCommands::FilterText(), QString("TR-640 Software(*.DAT)"));
    }

    void overwriteQuestion_data() {
        QTest::addColumn<QString>("answer");
        QTest::newRow("No asks again") << "否";
        QTest::newRow("Yes overwrites") << "是";
    }
    void overwriteQuestion() {
        QFETCH(QString, answer);
        Window w;
        const QString existing = w.dir.filePath("old.DAT"), other = w.dir.filePath("other.DAT");
        QVERIFY(WriteAll(existing, "previous contents"));
        int asked = 0;
        ChooseFiles(w, {existing, other}, &asked);
        BoxAnswerer boxes({answer});
        w->files().mnuAssave();
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.text(), QString("该文件已存在，是否覆盖？"));
        QCOMPARE(boxes.seen()[0].title, QString("TR-640 Software"));
        QCOMPARE(boxes.seen()[0].buttons, (QStringList{"是", "否"}));
        const bool no = answer == "否";
        QCOMPARE(asked, no ? 2 : 1);
        QCOMPARE(ReadAll(existing), no ? QByteArray("previous contents") : EncodeImage({}));
        QCOMPARE(ReadAll(other), no ? EncodeImage({}) : QByteArray("<unreadable>"));
    }

    void cancelIsSilent() {
        Window w;
        ChooseFiles(w, {});
        BoxAnswerer boxes;
        const EditorState before = w->editor();
        w->files().mnuOpen();
        w->files().mnuAssave();
        w->files().mnuImportCsv();
        QCOMPARE(boxes.count(), 0);
        QVERIFY(w->editor() == before);
    }

    void newChannels_data() {
        QTest::addColumn<QString>("answer");
        QTest::newRow("OK clears") << "确定";
        QTest::newRow("Cancel keeps") << "取消";
    }
    void newChannels() {
        QFETCH(QString, answer);
        Window w;
        w->document().replace(Sample());
        BoxAnswerer boxes({answer});
        w->runToolbarKey("new");
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.text(), QString("所有信道的数据将被清除！"));
        QCOMPARE(boxes.seen()[0].title, QString("警告"));
        QCOMPARE(boxes.seen()[0].icon, QMessageBox::Warning);
        const EditorState& e = w->editor();
        QCOMPARE(e.channelInUse(1), answer == "取消");
        QCOMPARE(w.find<FlexGrid>("Grid1")->text(1, 5).isEmpty(), answer == "确定");
        // Settings, band and list positions stay whatever the answer.
        QCOMPARE(e.Band, 5);
        QCOMPARE(e.SquelchLevel, 7);
        QCOMPARE(e.Settings.EmbeddedMessage[0], QString("HELLO"));
        QCOMPARE(e.listIndex(1, ColScanAdd), 1);
    }

    void shortFileReadsAsErased() {
        Window w;
        const QString path = w.dir.filePath("short.DAT");
        QVERIFY(WriteAll(path, EncodeImage(Sample()).left(20))); // channel 1, a bit of 2
        QVERIFY(w->files().openFile(path));
        const EditorState& e = w->editor();
        QCOMPARE(e.cell(1, ColRxFrequency), QString("145.00625"));
        QVERIFY(!e.channelInUse(2));
        QCOMPARE(e.SquelchLevel, 4); // an erased byte is out of range: kept
        QCOMPARE(e.Settings.TxHighPower, 255);
    }

    // Rows: command | file, in the test folder | messages (a folder is asked about first) | reason.
    void failures_data() {
        AddRows({"open missing: open|missing.DAT|1|文件不存在",
                 "open folder: open|folder|1|这是一个文件夹",
                 "save onto folder: save|folder|2|这是一个文件夹",
                 "save into missing folder: save|nowhere/x.DAT|1|写入出错",
                 "import missing: csv|missing.csv|1|文件不存在",
                 "import binary: csv|binary.csv|1|"});
    }
    void failures() {
        QFETCH(QStringList, row);
        const QString command = row[0], target = row[1], reason = row[3];
        Window w;
        QDir(w.dir.path()).mkdir("folder");
        QVERIFY(WriteAll(w.dir.filePath("binary.csv"), QByteArray("\x00\x01\x02 not a table", 15)));
        const QString path = w.dir.filePath(target);
        ChooseFiles(w, {path});
        w->document().replace(Sample());
        const EditorState before = w->editor();
        BoxAnswerer boxes;
        if (command == "save")
            w->files().mnuAssave();
        else if (command == "open")
            w->files().mnuOpen();
        else
            w->files().mnuImportCsv();
        QCOMPARE(boxes.count(), row[2].toInt());
        const SeenBox& shown = boxes.seen().last();
        QVERIFY2(shown.text.contains(reason), qPrintable(shown.text));
        if (command != "csv") {
            QVERIFY2(shown.text.contains(QDir::toNativeSeparators(path)), qPrintable(shown.text));
            QCOMPARE(shown.icon, QMessageBox::Critical);
        }
        QVERIFY(w->editor() == before);
        QVERIFY(QFileInfo(w.dir.filePath("folder")).isDir());
    }

    void exportCsv() {
        Window w;
        EditorState s;
        s.cell(2, ColRxFrequency) = s.cell(2, ColTxFrequency) = "435.00000";
        s.setListCell(2, ColRxTone, 9);
        s.setListCell(2, ColTxTone, 0);
        for (int col = ColPower; col <= ColScanAdd; ++col)
            s.setListCell(2, col, 1);
        w->document().replace(s);
        const QString path = w.dir.filePath("out.csv");
        ChooseFiles(w, {path});
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
        QTest::addColumn<QList<int>>("channels"); // channels in use afterwards
        QTest::newRow("cancel") << QStringList{"取消"} << QList<int>{1};
        QTest::newRow("by location") << QStringList{"是"} << QList<int>{3, 5};
        QTest::newRow("in file order") << QStringList{"否", "是"} << QList<int>{1, 2};
    }
    void importCsv() {
        QFETCH(QStringList, answers);
        QFETCH(QList<int>, channels);
        Window w;
        EditorState s;
        s.cell(1, ColRxFrequency) = "460.00000";
        FillNewChannel(s, 1, "460.00000");
        w->document().replace(s);
        const EditorState before = w->editor();
        const QString path = w.dir.filePath("in.csv");
        QVERIFY(WriteAll(path, "Location,Frequency,Tone,rToneFreq\n3,435.0137,Tone,88.5\n"
                               "5,440.000000,,\n7,150.000000,,\n"));
        ChooseFiles(w, {path});
        BoxAnswerer boxes(answers);
        w.trigger("mnuImportCsv");
        QCOMPARE(boxes.count(), answers.size());
        // The summary names the refused row by its line.
        QVERIFY2(boxes.text().contains("4"), qPrintable(boxes.text()));
        QCOMPARE(ChannelsInUse(w->editor()), channels);
        if (answers.last() == "是") {
            QCOMPARE(w->editor().cell(channels[0], ColRxFrequency), QString("435.01250"));
            QCOMPARE(w->editor().cell(channels[0], ColTxTone), QString("88.5"));
            QCOMPARE(w.find<QAction>("mnuUndo")->text(), QString("撤销导入 CSV"));
            w->edits().undo();
        }
        QVERIFY(w->editor() == before);
    }

    void chirpSampleList() {
        Window w;
        ChooseFiles(w, {TR640_SOURCE_DIR "/tests/data/chirp/US FRS and GMRS Channels.csv"});
        BoxAnswerer boxes({"是"});
        w->files().mnuImportCsv();
        QCOMPARE(ChannelsInUse(w->editor()).size(), 16);
        QCOMPARE(w->editor().cell(1, ColRxFrequency), QString("462.56250"));
        QVERIFY(boxes.text().contains("36"));
    }
};

QTEST_MAIN(TestFiles)
#include "tst_files.moc"
