// The window's commands as a user gives them: New, Open, Save As, CSV export and import, the
// band selector and leaving with changes, with file questions and message boxes answered.

#include "support/UiTestSupport.h"

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace tr640;
using namespace tr640::test;

class TestFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Rows: commands (";" between: a menu item, a toolbar key, "R,C=text" typed into a cell,
    // "R,C~text" left open there, "bandN" a band chosen, "exit" or "stay" closing the window) |
    // files answered in turn ("-": Cancel) | message box answers | the boxes shown | a part of the
    // last one, after its title | the Undo item | channels 1 to 5 | squelch and band | power on the
    // debug dialog | files afterwards, "name=size", "name=other file" or "name~contents", space
    // between.
    void command_data() {
        AddRows({
            "save, open, save: "
            "save;open;save|new.DAT,sample.DAT,copy.DAT||0||撤销打开|145.00625|||||7 级 "
            "136-174MHz|63|new.DAT=848 copy.DAT=sample.DAT",
            "overwrite, No asks again: mnuAssave|old.DAT,other.DAT|否|1|TR-640 Software: "
            "该文件已存在，是否覆盖？|撤销||||||4 级 400-470MHz|63|old.DAT=17 other.DAT=848",
            "overwrite, Yes: mnuAssave|old.DAT|是|1|该文件已存在|撤销||||||4 级 "
            "400-470MHz|63|old.DAT=848",
            "New, OK clears an open editor too: open;3,1~146;new;mnuCopy|sample.DAT|确定|1|警告: "
            "所有信道的数据将被清除！|撤销新建||||||7 级 136-174MHz|63|",
            "New, Cancel: "
            "open;3,1~146;new;mnuCopy|sample.DAT|取消|1|所有信道的数据将被清除！|撤销编辑|145."
            "00625||146.00000|||7 级 136-174MHz|63|",
            "cancelled open: open;mnuOpen|sample.DAT,-||0||撤销打开|145.00625|||||7 级 "
            "136-174MHz|63|",
            "cancelled save: open;mnuAssave|sample.DAT,-||0||撤销打开|145.00625|||||7 级 "
            "136-174MHz|63|",
            "save into a missing folder: "
            "open;mnuAssave|sample.DAT,nowhere/x.DAT||1|写入出错|撤销打开|145.00625|||||7 级 "
            "136-174MHz|63|",
            "short file reads as erased: "
            "open;open|sample.DAT,short.DAT||0||撤销打开|145.00625|||||7 级 136-174MHz|255|",
            "named pipe: open;open|sample.DAT,fifo.DAT||1|这不是普通文件|撤销打开|145.00625|||||7 "
            "级 136-174MHz|63|",
            "cancelled import: open;mnuImportCsv|sample.DAT,-||0||撤销打开|145.00625|||||7 级 "
            "136-174MHz|63|",
            "binary CSV: open;mnuImportCsv|sample.DAT,binary.csv||1||撤销打开|145.00625|||||7 级 "
            "136-174MHz|63|",
            "import cancelled: "
            "open;mnuImportCsv|sample.DAT,in.csv|取消|1|4|撤销打开|145.00625|||||7 级 "
            "136-174MHz|63|",
            "import by location: open;mnuImportCsv|sample.DAT,in.csv|是|1|4|撤销导入 "
            "CSV|||145.01250||146.00000|7 级 136-174MHz|63|",
            "import in file order, export: "
            "open;mnuImportCsv;mnuExportCsv|sample.DAT,in.csv,out.csv|否,是|2|4|撤销导入 "
            "CSV|145.01250|146.00000||||7 级 "
            "136-174MHz|63|out.csv~DVCODE\r\n1,,145.012500,,0.000000,Tone,88.5,88.5,023,NN,023,"
            "Tone->Tone,"
            "FM,6.25,,5.0W,,,,,\r\n2,,146.000000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5."
            "00,,5.0W,,,,,\r\n",
            "band, OK clears: 1,1=435;band5;5,1=150||确定|1|注意！: "
            "改变频段将清除频道列表，确定吗？|"
            "撤销编辑|||||150.00000|4 级 136-174MHz|63|",
            "band, Cancel keeps: 1,1=435;band5||取消|1|注意！: 改变频段将清除频道列表，确定吗？|"
            "撤销编辑|435.00000|||||4 级 400-470MHz|63|",
            "exit, Yes saves: "
            "6,1=443;exit|exit.DAT|是|1|频率数据已修改，是否保存？|撤销编辑||||||4 级 "
            "400-470MHz|63|exit.DAT=848",
            "exit, No: 6,1=443;exit||否|1|频率数据已修改，是否保存？|撤销编辑||||||4 级 "
            "400-470MHz|63|",
            "exit, Cancel stays: 6,1=443;stay||取消|1|频率数据已修改，是否保存？|撤销编辑||||||4 "
            "级 "
            "400-470MHz|63|",
            "import undone: "
            "open;mnuImportCsv;mnuUndo|sample.DAT,in.csv|是|1|4|撤销打开|145.00625|||||7 级 "
            "136-174MHz|63|",
        });
    }
    void command() {
        QFETCH(QStringList, row);
        Window w;
        w.activate();
        EditorState sample;
        sample.Band = sample.CurrentBandIndex = 5;
        sample.cell(1, ColRxFrequency) = "145.00625";
        sample.cell(1, ColTxFrequency) = "145.60000";
        sample.setListCell(1, ColRxTone, 9);
        sample.setListCell(1, ColTxTone, 200);
        for (int col = ColPower; col <= ColScanAdd; ++col)
            sample.setListCell(1, col, col == ColBclo || col == ColScanAdd);
        sample.SquelchLevel = 7;
        const std::pair<const char*, QByteArray> files[] = {
            {"sample.DAT", EncodeImage(sample)},
            {"short.DAT", EncodeImage(sample).left(20)},
            {"old.DAT", "previous contents"},
            {"binary.csv", QByteArray("\x00\x01\x02 not a table", 15)},
            {"in.csv", "Location,Frequency,Tone,rToneFreq\n3,145.0137,Tone,88.5\n5,146.000000,,\n"
                       "7,450.000000,,\n"}};
        for (const auto& [name, bytes] : files)
            QVERIFY(WriteAll(w.dir.filePath(name), bytes));
#ifdef Q_OS_UNIX
        QCOMPARE(mkfifo(QFile::encodeName(w.dir.filePath("fifo.DAT")).constData(), 0600), 0);
#else
        if (row[1].contains("fifo"))
            QSKIP("no named pipes in the file system here");
#endif
        QStringList answered;
        for (const QString& name : row[1].split(',', Qt::SkipEmptyParts))
            answered << (name == "-" ? QString() : w.dir.filePath(name));
        BoxAnswerer boxes(row[2].split(','), answered);
        for (const QString& step : row[0].split(';')) {
            if (step.contains(QRegularExpression("[=~]")))
                w.type(step.section(',', 0, 0).toInt(), 1,
                       step.mid(step.indexOf(QRegularExpression("[=~]")) + 1), step.contains('='));
            else if (step.startsWith("band"))
                w.find<QComboBox>("Combo1")->setCurrentIndex(step.mid(4).toInt());
            else if (step == "exit" || step == "stay")
                QCOMPARE(w->close(), step == "exit");
            else if (step.startsWith("mnu"))
                w.trigger(qPrintable(step));
            else
                w->runToolbarKey(step);
        }
        QCOMPARE(boxes.fileDialogs(), answered.size());
        QCOMPARE(boxes.count(), row[3].toInt());
        const QString last = boxes.seen().value(boxes.count() - 1).title + ": " +
                             boxes.seen().value(boxes.count() - 1).text;
        QVERIFY2(last.contains(row[4]), qPrintable(last));
        QCOMPARE(w.find<QAction>("mnuUndo")->text(), row[5]);
        QStringList shown;
        for (int channel = 1; channel <= 5; ++channel)
            shown << w.grid()->text(channel, ColRxFrequency);
        shown << Shown(w.form.get(), "Combo9") + " " + Shown(w.form.get(), "Combo1")
              << Shown(w->windowNamed("Form2"), "Lblpower1");
        QCOMPARE(shown, row.mid(6, 7));
        for (const QString& check : row[13].split(' ', Qt::SkipEmptyParts)) {
            const QString other = check.section(QRegularExpression("[=~]"), 1);
            const QByteArray bytes =
                ReadAll(w.dir.filePath(check.section(QRegularExpression("[=~]"), 0, 0)));
            if (check.contains('~'))
                QVERIFY2(bytes.contains(other.toUtf8()), bytes.constData());
            else if (other.toInt() > 0)
                QCOMPARE(bytes.size(), other.toInt());
            else
                QCOMPARE(bytes, ReadAll(w.dir.filePath(other)));
        }
    }
};

QTEST_MAIN(TestFiles)
#include "tst_files.moc"
