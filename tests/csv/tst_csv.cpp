// CHIRP CSV export and import, also through tr640-cli (random round trips are fuzz_csv's).

#include "cli/CliRun.h"
#include "codeplug/ChannelSetup.h"
#include "codeplug/ChirpCsv.h"
#include "codeplug/Codec.h"
#include "codeplug/Numbers.h"
#include "i18n/CsvTexts.h"

#include <QTemporaryDir>
#include <algorithm>

using namespace tr640;
using namespace tr640::test;

Q_DECLARE_METATYPE(tr640::CsvReason)
Q_DECLARE_METATYPE(tr640::CsvImportOptions)

namespace {

EditorState EnglishState() {
    EditorState s;
    s.Language = English;
    return s;
}

CsvImportResult Import(const QString& text, const EditorState& base = EnglishState(),
                       const CsvImportOptions& options = {}) {
    return ImportChirpCsv(text.toUtf8(), base, options);
}

// "line:reason" of every rejected row.
QString Rej(int line, CsvReason reason) {
    return QStringLiteral("%1:%2").arg(line).arg(static_cast<int>(reason));
}
QStringList Rejections(const CsvImportResult& r) {
    QStringList out;
    for (const CsvIssue& i : r.rejected)
        out << Rej(i.line, i.reason);
    return out;
}

// Channel `row` as "rx tx rxTone txTone power bclo wide scan", "-" for an empty cell.
QString ChannelText(const EditorState& s, int row) {
    QStringList cells;
    for (int col : {ColRxFrequency, ColTxFrequency, ColRxTone, ColTxTone})
        cells << (s.cell(row, col).isEmpty() ? QStringLiteral("-") : s.cell(row, col));
    for (int col = ColPower; col <= ColScanAdd; ++col)
        cells << QString::number(s.listIndex(row, col));
    return cells.join(u' ');
}

} // namespace

class TestCsv : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void exportKnownCodeplug();
    void toneModes_data();
    void toneModes();
    void importRows_data();
    void importRows();
    void files_data();
    void files();
    void chirpSampleFile();
    void summary();
    void initTestCase();
    void cliImport_data();
    void cliImport();
    void cliExportAndBack();

private:
    QTemporaryDir dir_;
    QString base_; // channels 1 and 9 on 400-470MHz
};

void TestCsv::exportKnownCodeplug() {
    EditorState s = EnglishState();
    SetChannel(s, 1, "435.12500", "Off", "435.12500", "Off");
    SetChannel(s, 2, "435.01250", "100.0", "440.01250", "100.0", 0, 1, 0, 0);
    SetChannel(s, 4, "470.00000", "D754I", "", "");
    SetChannel(s, 16, "400.00625", "D023N", "400.00625", "D023I");
    const QString expected = QStringLiteral(
        "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
        "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE"
        "\r\n"
        "1,,435.125000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,5.0W,,,,,\r\n"
        "2,,435.012500,split,440.012500,TSQL,88.5,100.0,023,NN,023,Tone->Tone,NFM,6.25,S,1.0W,"
        "BCLO,,,,\r\n"
        "4,,470.000000,off,0.000000,Cross,88.5,88.5,023,NR,754,->DTCS,FM,5.00,,5.0W,,,,,\r\n"
        "16,,400.006250,,0.000000,DTCS,88.5,88.5,023,RN,023,Tone->Tone,FM,6.25,,5.0W,,,,,\r\n");
    QCOMPARE(ExportChirpCsv(s), expected);
    s.Language = Chinese; // the other language's texts say the same
    s.SetGrid1Text();
    QCOMPARE(ExportChirpCsv(s), expected);
}

void TestCsv::toneModes_data() {
    QTest::addColumn<QString>("rxTone");
    QTest::addColumn<QString>("txTone");
    // Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,CrossMode
    QTest::addColumn<QString>("chirp");
    const auto row = [](const char* name, const char* rx, const char* tx, const char* chirp) {
        QTest::newRow(name) << QString(rx) << QString(tx) << QString(chirp);
    };
    row("none", "Off", "Off", ",88.5,88.5,023,NN,023,Tone->Tone");
    row("Tone", "Off", "67.0", "Tone,67.0,88.5,023,NN,023,Tone->Tone");
    row("TSQL", "100.0", "100.0", "TSQL,88.5,100.0,023,NN,023,Tone->Tone");
    row("DTCS", "D023N", "D023N", "DTCS,88.5,88.5,023,NN,023,Tone->Tone");
    row("DTCS, polarities differ", "D754I", "D754N", "DTCS,88.5,88.5,754,NR,023,Tone->Tone");
    row("Tone->Tone", "88.5", "67.0", "Cross,67.0,88.5,023,NN,023,Tone->Tone");
    row("DTCS->DTCS", "D023N", "D025I", "Cross,88.5,88.5,025,RN,023,DTCS->DTCS");
    row("DTCS->", "Off", "D032N", "Cross,88.5,88.5,032,NN,023,DTCS->");
    row("->DTCS", "D023I", "Off", "Cross,88.5,88.5,023,NR,023,->DTCS");
    row("->Tone", "71.9", "Off", "Cross,88.5,71.9,023,NN,023,->Tone");
    row("Tone->DTCS", "D065N", "94.8", "Cross,94.8,88.5,023,NN,065,Tone->DTCS");
    row("DTCS->Tone", "127.3", "D131I", "Cross,88.5,127.3,131,RN,023,DTCS->Tone");
}

void TestCsv::toneModes() {
    QFETCH(QString, rxTone);
    QFETCH(QString, txTone);
    QFETCH(QString, chirp);
    EditorState s = EnglishState();
    SetChannel(s, 1, "446.00625", rxTone, "446.00625", txTone);
    const QString csv = ExportChirpCsv(s);
    QCOMPARE(csv.section(QStringLiteral("\r\n"), 1, 1).section(u',', 5, 11), chirp);
    const CsvImportResult r = Import(csv);
    QVERIFY(r.clean());
    QCOMPARE(ChannelText(r.state, 1), ChannelText(s, 1));
    QVERIFY(r.state == s); // the tones' list positions too
}

// Each row names its columns, "Column=value;Column=value" (Location=1 added), and gives
// channel 1 as ChannelText or the English text of the row's rejection.
void TestCsv::importRows_data() {
    QTest::addColumn<QString>("fields");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* name, const char* fields, const char* expected) {
        QTest::newRow(name) << QString(fields) << QString::fromUtf8(expected);
    };
    row("simplex", "Frequency=446.00625;Duplex=;Offset=0.6", "446.00625 446.00625 Off Off 1 0 1 1");
    row("plus", "Frequency=440.1;Duplex=+;Offset=5.000000", "440.10000 445.10000 Off Off 1 0 1 1");
    row("minus", "Frequency=445.1;Duplex=-;Offset=5", "445.10000 440.10000 Off Off 1 0 1 1");
    row("split, offset in kHz", "Frequency=440.1;Duplex=SPLIT;Offset=460500 kHz",
        "440.10000 460.50000 Off Off 1 0 1 1");
    row("off with a tone", "Frequency=440.1;Duplex=off;Tone=Tone", "440.10000 - Off 88.5 1 0 1 1");
    row("MHz, snapped", "Frequency=435.0137 MHz", "435.01250 435.01250 Off Off 1 0 1 1");
    row("kHz, snapped", "Frequency=435016 kHz", "435.01500 435.01500 Off Off 1 0 1 1");
    row("not a frequency", "Frequency=4x5", "Line 2: frequency \"4x5\" is not a frequency");
    row("below 1 Hz", "Frequency=435.1234567",
        "Line 2: frequency \"435.1234567\" is not a frequency");
    row("above the band", "Frequency=470.001",
        "Line 2: receive frequency 470.001000 MHz is beyond the band 400-470MHz");
    row("unknown duplex", "Frequency=446;Duplex=x;Offset=5",
        "Line 2: Duplex \"x\" is not empty, +, -, split or off");
    row("plus without offset", "Frequency=446;Duplex=+", "Line 2: Duplex + needs an Offset");
    row("bad offset", "Frequency=446;Duplex=split;Offset=abc",
        "Line 2: Offset \"abc\" is not a frequency");
    row("shift beyond the band", "Frequency=469;Duplex=+;Offset=5",
        "Line 2: transmit frequency 474.000000 MHz is beyond the band 400-470MHz");
    row("2.5 W is High", "Frequency=446;Power=2.5W", "446.00000 446.00000 Off Off 1 0 1 1");
    row("2.4 W is Low", "Frequency=446;Power=2.4 W", "446.00000 446.00000 Off Off 0 0 1 1");
    row("Low by name, BCLO carrier", "Frequency=446;Power=low;BCLO=carrier",
        "446.00000 446.00000 Off Off 0 1 1 1");
    row("NFM", "Frequency=446;Mode=nfm;Skip=S", "446.00000 446.00000 Off Off 1 0 0 0");
    row("priority scan", "Frequency=446;Skip=P;BCLO=On", "446.00000 446.00000 Off Off 1 1 1 1");
    row("a mode like a placeholder", "Frequency=446;Mode=%2",
        "Line 2: Mode \"%2\" is not available (FM or NFM only)");
    row("power not watts", "Frequency=446;Power=strong",
        "Line 2: Power \"strong\" is not watts, High or Low");
    row("unknown skip", "Frequency=446;Skip=X", "Line 2: Skip \"X\" is not empty, S or P");
    row("unknown BCLO", "Frequency=446;BCLO=maybe", "Line 2: BCLO \"maybe\" is not On or Off");
    row("no tone columns: 88.5", "Frequency=446;Tone=TSQL",
        "446.00000 446.00000 88.5 88.5 1 0 1 1");
    row("rToneFreq alone serves TSQL", "Frequency=446;Tone=tsql;rToneFreq=103.5",
        "446.00000 446.00000 103.5 103.5 1 0 1 1");
    row("cToneFreq alone serves Tone", "Frequency=446;Tone=Tone;cToneFreq=103.5",
        "446.00000 446.00000 Off 103.5 1 0 1 1");
    row("TSQL reads cToneFreq", "Frequency=446;Tone=TSQL;rToneFreq=88.5;cToneFreq=123.4",
        "446.00000 446.00000 123.4 123.4 1 0 1 1");
    row("CTCSS typed short", "Frequency=446;Tone=Tone;rToneFreq=88",
        "446.00000 446.00000 Off 88.0 1 0 1 1");
    row("CTCSS at the top, 254.1", "Frequency=446;Tone=Tone;rToneFreq=254.1",
        "446.00000 446.00000 Off 254.1 1 0 1 1");
    row("Tone-> cross", "Frequency=446;Tone=Cross;rToneFreq=71.9;CrossMode=Tone->",
        "446.00000 446.00000 Off 71.9 1 0 1 1");
    row("no RxDtcsCode: DtcsCode receives",
        "Frequency=446;Tone=Cross;DtcsCode=47;DtcsPolarity=NR;CrossMode=->DTCS",
        "446.00000 446.00000 D047I Off 1 0 1 1");
    row("DCS with leading zeros", "Frequency=446;Tone=DTCS;DtcsCode=000023",
        "446.00000 446.00000 D023N D023N 1 0 1 1");
    row("unused fields are not read",
        "Frequency=446;Tone=Tone;rToneFreq=77;DtcsPolarity=XY;DtcsCode=999;CrossMode=junk",
        "446.00000 446.00000 Off 77.0 1 0 1 1");
    row("TSQL-R", "Frequency=446;Tone=TSQL-R", "Line 2: this radio has no reverse squelch TSQL-R");
    row("unknown tone mode", "Frequency=446;Tone=DCS", "Line 2: tone mode \"DCS\" is unknown");
    row("unknown cross mode", "Frequency=446;Tone=Cross;CrossMode=Tone->Off",
        "Line 2: CrossMode \"Tone->Off\" is unknown");
    row("CTCSS above 254.1", "Frequency=446;Tone=Tone;rToneFreq=254.2",
        "Line 2: rToneFreq \"254.2\" is not a CTCSS tone of this radio (67.0-254.1 Hz)");
    row("DCS the radio lacks", "Frequency=446;Tone=DTCS;DtcsCode=027",
        "Line 2: DtcsCode \"027\" is not a DCS code of this radio");
    row("DCS not octal", "Frequency=446;Tone=Cross;RxDtcsCode=089;CrossMode=->DTCS",
        "Line 2: RxDtcsCode \"089\" is not a DCS code of this radio");
    row("unknown polarity", "Frequency=446;Tone=DTCS;DtcsPolarity=NX",
        "Line 2: DtcsPolarity \"NX\" is not NN, NR, RN or RR");
}

void TestCsv::importRows() {
    QFETCH(QString, fields);
    QStringList names{"Location"};
    QStringList values{"1"};
    for (const QString& pair : fields.split(u';')) {
        names << pair.section(u'=', 0, 0);
        values << pair.section(u'=', 1);
    }
    const CsvImportResult r = Import(names.join(u',') + u'\n' + values.join(u',') + u'\n');
    QVERIFY(r.rejected.size() <= 1);
    QCOMPARE(r.state.channelInUse(1), r.rejected.isEmpty());
    QTEST(r.rejected.isEmpty() ? ChannelText(r.state, 1) : CsvIssueText(r.rejected[0], English),
          "expected");
}

// Files as CHIRP and spreadsheets write them, and where their rows go, over a codeplug with
// channel 3 at 450 MHz and channel 10 at 451 MHz.
void TestCsv::files_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<CsvImportOptions>("options");
    QTest::addColumn<CsvReason>("fileReason");
    QTest::addColumn<QString>("channels"); // the placement, channel:MHz in use, "/B" for BCLO
    QTest::addColumn<QStringList>("rejected");
    QTest::addColumn<QString>("says"); // a line of the English summary
    const auto row = [](const char* name, QByteArray file, const char* channels,
                        QStringList rejected = {}, const char* says = "") {
        QTest::newRow(name) << file << CsvImportOptions() << CsvReason::None << QString(channels)
                            << rejected << QString(says);
    };
    const auto place = [](const char* name, QByteArray rows, CsvImportOptions options,
                          const char* channels, QStringList rejected = {}) {
        QTest::newRow(name) << "Location,Frequency\n" + rows << options << CsvReason::None
                            << QString(channels) << rejected << QString();
    };
    const auto unreadable = [](const char* name, QByteArray file, CsvReason reason,
                               const char* says = "") {
        QTest::newRow(name) << file << CsvImportOptions() << reason << QString("3:450 10:451")
                            << QStringList() << QString(says);
    };
    row("byte-order mark, quoted header, CRLF",
        "\xEF\xBB\xBF\"Location\",\"Frequency\"\r\n\"1\",\"446.0\"\r\n", "by Location: 1:446");
    row("any order, unknown columns, any case", "Foo, frequency ,LOCATION\nx,447,2\n",
        "by Location: 2:447");
    row("quoted comma, quote and line break",
        "Location,Name,Frequency\n1,\"a, \"\"b\"\"\nc\",446\n2,x,999\n", "by Location: 1:446",
        {Rej(4, CsvReason::RxOutOfBand)});
    row("comment lines are counted", "# list\nLocation,Frequency\n# \"note\n1,446\n#3,447\n2,999\n",
        "by Location: 1:446", {Rej(6, CsvReason::RxOutOfBand)});
    row("quoted comment first",
        "\"# Club list \"\"2024\"\" edition\"\r\nLocation,Frequency\r\n1,446\r\n2,447\r\n",
        "by Location: 1:446 2:447", {}, "Rows are placed by their Location.");
    row("blank lines and padding rows", "Location,Frequency\n\n,\n1,446\n ,  \n",
        "by Location: 1:446");
    row("rows without a frequency", "Location,Frequency\n1,446\n2,\n3,0.000000\n4,447\n",
        "by Location: 1:446 4:447", {}, "Rows skipped without a frequency: 2 (line 3, 4).");
    row("too few fields", "Location,Frequency,Name\n1,446\n2,447,x\n", "by Location: 2:447",
        {Rej(2, CsvReason::TooFewFields)});
    row("quote not closed", "Location,Frequency\n1,446\n2,\"447\n3,448\n", "by Location: 1:446",
        {Rej(3, CsvReason::UnterminatedQuote)});
    row("semicolons and decimal commas",
        "Location;Frequency;Duplex;Offset\r\n1;446,5;split;447,0\r\n2;447;;\r\n",
        "by Location: 1:446.5 2:447", {}, "Channels imported: 2. Rows rejected: 0.");
    row("BCLO in the comment", "Location,Frequency,Comment\n1,446,BCLO\n2,447,\n",
        "by Location: 1:446/B 2:447");
    row("BCLO column of earlier exports",
        "Location,Frequency,Comment,BCLO\n1,446,,On\n2,447,,Off\n", "by Location: 1:446/B 2:447");
    row("names are not kept", "Location,Name,Frequency,Comment\n1,Repeater,446,\n",
        "by Location: 1:446", {},
        "The radio has no channel names: names and comments are not kept.");
    unreadable("empty", QByteArray(), CsvReason::NoHeader);
    unreadable("no Frequency column", "Location,Name\n1,x\n", CsvReason::NoFrequencyColumn);
    unreadable("too large", "Location,Frequency\n" + QByteArray(kMaxCsvFileSize, '\n'),
               CsvReason::FileTooLarge);
    const QString utf16 = QStringLiteral("Location,Frequency\r\n1,446\r\n");
    unreadable("UTF-16",
               QByteArray("\xFF\xFE") +
                   QByteArray(reinterpret_cast<const char*>(utf16.utf16()), utf16.size() * 2),
               CsvReason::Utf16,
               "The file cannot be imported: the file is in UTF-16; save it as CSV in UTF-8");
    using P = CsvPlacement;
    const auto clear = CsvChannelsNotInFile::Cleared;
    const auto keep = CsvChannelsNotInFile::Kept;
    place("1-16: by Location", "5,446\n2,447", {P::Automatic, clear}, "by Location: 2:447 5:446");
    place("by Location, merged", "5,446\n2,447", {P::Automatic, keep},
          "by Location: 2:447 3:450 5:446 10:451");
    place("a 0: in file order", "0,446\n1,447", {P::Automatic, clear}, "in order: 1:446 2:447");
    place("by Location when asked", "0,446\n17,447\nx,448\n16,449", {P::ByLocation, clear},
          "by Location: 16:449",
          {Rej(2, CsvReason::LocationOutOfRange), Rej(3, CsvReason::LocationOutOfRange),
           Rej(4, CsvReason::BadLocation)});
    place("duplicate Location", "3,446\n3,447", {P::Automatic, keep}, "by Location: 3:446 10:451",
          {Rej(3, CsvReason::DuplicateLocation)});
    place("a rejected row takes no channel", "3,999\n3,447", {P::Automatic, clear},
          "by Location: 3:447", {Rej(2, CsvReason::RxOutOfBand)});
    QByteArray many;
    for (int i = 0; i < 18; ++i)
        many +=
            QByteArray::number(100 + i) + ',' + QByteArray::number(i == 4 ? 999 : 401 + i) + '\n';
    place("more than 16 rows", many, {P::Automatic, clear},
          "in order: 1:401 2:402 3:403 4:404 5:406 6:407 7:408 8:409 9:410 10:411 11:412 12:413 "
          "13:414 14:415 15:416 16:417",
          {Rej(6, CsvReason::RxOutOfBand), Rej(19, CsvReason::NoFreeChannel)});
}

void TestCsv::files() {
    QFETCH(QByteArray, file);
    QFETCH(CsvImportOptions, options);
    QFETCH(CsvReason, fileReason);
    QFETCH(QString, says);
    EditorState base = EnglishState();
    SetChannel(base, 3, "450.00000", "Off", "450.00000", "Off");
    SetChannel(base, 10, "451.00000", "67.0", "451.00000", "Off");
    const CsvImportResult r = ImportChirpCsv(file, base, options);
    QCOMPARE(r.fileIssue.reason, fileReason);
    QTEST(Rejections(r), "rejected");
    QCOMPARE(r.state == base, fileReason != CsvReason::None);
    QStringList channels;
    if (fileReason == CsvReason::None)
        channels << (r.placement == CsvPlacement::ByLocation ? "by Location:" : "in order:");
    for (int row = 1; row <= kChannelCount; ++row)
        if (r.state.channelInUse(row))
            channels << QStringLiteral("%1:%2%3")
                            .arg(row)
                            .arg(LeadingNumber(r.state.cell(row, ColRxFrequency)))
                            .arg(r.state.listIndex(row, ColBclo) ? "/B" : "");
    QTEST(channels.join(u' '), "channels");
    if (r.state.cell(10, ColRxFrequency) == "451.00000") // kept whole
        QCOMPARE(ChannelText(r.state, 10), ChannelText(base, 10));
    const QStringList summary = CsvImportSummary(r, English).split(u'\n');
    QVERIFY2(says.isEmpty() || summary.contains(says), qPrintable(summary.join(u'\n')));
}

// 95 rows numbered 25 to 171 as CHIRP wrote them, twelve of them on 400-470MHz.
void TestCsv::chirpSampleFile() {
    QFile file(QStringLiteral(TR640_SOURCE_DIR "/tests/data/chirp/Generic_CSV.csv"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const CsvImportResult r = ImportChirpCsv(file.readAll(), EnglishState());
    QCOMPARE(r.imported.size(), 12);
    QCOMPARE(r.rejected.size(), 83);
    QVERIFY(std::all_of(r.rejected.begin(), r.rejected.end(),
                        [](const CsvIssue& i) { return i.reason == CsvReason::RxOutOfBand; }));
    QCOMPARE((QStringList{ChannelText(r.state, 1), ChannelText(r.state, 2), ChannelText(r.state, 6),
                          ChannelText(r.state, 12)}),
             (QStringList{"443.10000 448.10000 D032N D032N 1 0 1 1",
                          "441.55000 446.55000 Off 88.5 1 0 1 1",
                          "440.35000 445.35000 127.3 127.3 1 0 1 1",
                          "453.86250 453.86250 156.7 156.7 1 0 1 1"}));
}

void TestCsv::summary() {
    const CsvImportResult r = Import("Location,Frequency,Mode\n1,446,%2\n1,446,FM\n2,446,FM\n3,x,");
    QCOMPARE(CsvImportSummary(r, English),
             QString("Channels imported: 2. Rows rejected: 2.\n"
                     "Rows are placed by their Location.\n"
                     "Channels not in the file will be cleared.\n"
                     "Line 2: Mode \"%2\" is not available (FM or NFM only)\n"
                     "Line 5: frequency \"x\" is not a frequency"));
    QCOMPARE(CsvImportSummary(r, Chinese, 1),
             QString::fromUtf8("导入的频道：2；拒绝的行：2。\n"
                               "各行按 Location 放入频道。\n"
                               "文件中没有的频道将被清除。\n"
                               "第 2 行：Mode“%2”本机不支持（只有 FM 和 NFM）\n"
                               "……另有 1 行被拒绝"));
}

void TestCsv::initTestCase() {
    QVERIFY(dir_.isValid());
    EditorState s;
    SetChannel(s, 1, "441.00625", "67.0", "435.12500", "97.4", 1, 1, 1, 1);
    SetChannel(s, 9, "449.00625", "Off", "435.12500", "97.4", 0, 0, 0, 0);
    base_ = dir_.filePath(QStringLiteral("base.dat"));
    QVERIFY(PutFile(base_, EncodeImage(s)));
}

// tr640-cli import-csv: exit statuses, the summary, what is written and what is not.
void TestCsv::cliImport_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QStringList>("options"); // after import-csv @csv -o @out
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("rx"); // channels 1, 2, 9 written, or empty: nothing written
    const QByteArray good("Location,Frequency,Duplex,Offset\n2,446.5,+,1.5\n");
    const QByteArray oneBad("Location,Frequency\n2,446.5\n3,999\n");
    const QByteArray vhf("Location,Frequency\n1,146.52\n");
    const auto row = [](const char* name, const QByteArray& csv, QStringList options, int status,
                        const char* message, const char* rx) {
        QTest::newRow(name) << csv << options << status << QString(message) << QString(rx);
    };
    row("into the start-up codeplug", good, {}, 0, "Channels imported: 1.", "/446.50000/");
    row("over a base", good, {"--base", "@base"}, 0, "will be cleared", "/446.50000/");
    row("merged into a base", good, {"--base", "@base", "--merge"}, 0, "stay as they are",
        "441.00625/446.50000/449.00625");
    row("in order", good, {"--in-order"}, 0, "file order", "446.50000//");
    row("a rejected row writes nothing", oneBad, {}, 5, "Line 3: receive frequency 999.000000", "");
    row("unreadable file", "Location\n1\n", {}, 5, "no Frequency column", "");
    row("band by position", vhf, {"--band", "5"}, 0, "", "146.52000//");
    row("band by name", vhf, {"--band", "136-174MHz"}, 0, "", "146.52000//");
    row("no such base", good, {"--base", "@none"}, 1, "no such file", "");
    row("two placements", good, {"--in-order", "--by-location"}, 2, "not both", "");
    row("unknown language", good, {"--lang", "fr"}, 2, "--lang takes zh or en", "");
    row("base without a file", good, {"--base"}, 2, "--base needs a codeplug file", "");
    row("two CSV files", good, {"@base"}, 2, "unexpected argument '", "");
    row("unknown band", good, {"--band", "7"}, 2, "--band", "");
    row("merged into another band", vhf, {"--base", "@base", "--merge", "--band", "5"}, 2,
        "--merge", "");
}

void TestCsv::cliImport() {
    QFETCH(QByteArray, csv);
    QFETCH(QStringList, options);
    QFETCH(int, status);
    QFETCH(QString, message);
    QFETCH(QString, rx);
    const QString in = dir_.filePath(QStringLiteral("in.csv"));
    const QString out = dir_.filePath(QStringLiteral("out.dat"));
    QVERIFY(PutFile(in, csv) && PutFile(out, "an earlier file"));
    options.replaceInStrings(QStringLiteral("@base"), base_);
    options.replaceInStrings(QStringLiteral("@none"), dir_.filePath(QStringLiteral("none")));
    const CliResult r = RunCli(QStringList{"import-csv", in, "-o", out} + options);
    QCOMPARE(r.status, status);
    QVERIFY2(r.err.contains(message.toUtf8()), r.err.constData());
    if (rx.isEmpty()) {
        QCOMPARE(FileBytes(out), QByteArray("an earlier file"));
        return;
    }
    EditorState written;
    DecodeImage(written, FileBytes(out));
    QCOMPARE(written.cell(1, ColRxFrequency) + u'/' + written.cell(2, ColRxFrequency) + u'/' +
                 written.cell(9, ColRxFrequency),
             rx);
    QCOMPARE(written.Band, options.contains(QStringLiteral("--band")) ? 5 : 0);
}

void TestCsv::cliExportAndBack() {
    const QString csv = dir_.filePath(QStringLiteral("out.csv"));
    const QString again = dir_.filePath(QStringLiteral("again.dat"));
    QCOMPARE(RunCli({"export-csv", base_, csv}).status, 0);
    QVERIFY(FileBytes(csv).startsWith("Location,Name,Frequency,Duplex,"));
    QCOMPARE(RunCli({"import-csv", csv, "-o", again}).status, 0);
    QCOMPARE(FileBytes(again).toHex(' '), FileBytes(base_).toHex(' '));

    QCOMPARE(RunCli({"export-csv", dir_.filePath(QStringLiteral("none")), csv}).status, 1);
    QCOMPARE(RunCli({"export-csv", base_}).status, 2);
    QCOMPARE(RunCli({"import-csv", dir_.filePath(QStringLiteral("none")), "-o", again}).status, 1);
    QCOMPARE(RunCli({"import-csv", csv}).status, 2);
}

QTEST_GUILESS_MAIN(TestCsv)
#include "tst_csv.moc"
