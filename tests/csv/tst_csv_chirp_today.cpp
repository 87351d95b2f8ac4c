// CSV exchange with the CHIRP of today: comments as its csv writer saves them, BCLO carried in
// the Comment column, rows without a frequency, other separators, names that cannot be kept.

#include "codeplug/ChannelRules.h"
#include "codeplug/ChirpCsv.h"
#include "i18n/CsvTexts.h"

#include <QTest>

using namespace tr640;

namespace {

// Receive frequency and BCLO position of channels 1 to 4: "446.00000/1 /0 ...".
QString Channels(const EditorState& s) {
    QStringList out;
    for (int row = 1; row <= 4; ++row)
        out << s.cell(row, ColRxFrequency) + u'/' + QString::number(s.listIndex(row, ColBclo));
    return out.join(u' ');
}

} // namespace

class TestCsvChirpToday : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void import_data();
    void import();
    void exportCarriesBcloInTheComment();
};

void TestCsvChirpToday::import_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("channels");
    QTest::addColumn<int>("rejected");
    QTest::addColumn<QString>("says"); // a line of the English summary
    const QString empty = QStringLiteral(" /0 /0");
    QTest::newRow("quoted comment first")
        << QByteArray("\"# Club list \"\"2024\"\" edition\"\r\nLocation,Frequency\r\n1,446\r\n"
                      "2,447\r\n")
        << "446.00000/0 447.00000/0" + empty << 0 << "Rows are placed by their Location.";
    QTest::newRow("quoted comment between rows")
        << QByteArray("Location,Frequency\n2,446\n\"# a, b\",x\n1,447\n")
        << "447.00000/0 446.00000/0" + empty << 0 << "Rows are placed by their Location.";
    QTest::newRow("rows without a frequency")
        << QByteArray("Location,Frequency\n1,446\n2,\n3,0.000000\n4,447\n")
        << "446.00000/0 /0 /0 447.00000/0" << 0
        << "Rows skipped without a frequency: 2 (line 3, 4).";
    QTest::newRow("semicolons and decimal commas")
        << QByteArray("Location;Frequency;Duplex;Offset\r\n1;446,5;split;447,0\r\n2;447;;\r\n")
        << "446.50000/0 447.00000/0" + empty << 0 << "Channels imported: 2. Rows rejected: 0.";
    QTest::newRow("tabs") << QByteArray("Location\tFrequency\tComment\n1\t446\tBCLO\n")
                          << "446.00000/1 /0" + empty << 0 << "Rows are placed by their Location.";
    QTest::newRow("BCLO in the comment")
        << QByteArray("Location,Frequency,Comment\n1,446,BCLO\n2,447,\n")
        << "446.00000/1 447.00000/0" + empty << 0 << "Channels imported: 2. Rows rejected: 0.";
    QTest::newRow("BCLO column of earlier exports")
        << QByteArray("Location,Frequency,Comment,BCLO\n1,446,,On\n2,447,,Off\n")
        << "446.00000/1 447.00000/0" + empty << 0 << "Channels imported: 2. Rows rejected: 0.";
    QTest::newRow("names are not kept")
        << QByteArray("Location,Name,Frequency,Comment\n1,Repeater,446,\n")
        << "446.00000/0 /0" + empty << 0
        << "The radio has no channel names: names and comments are not kept.";
    const QString utf16 = QStringLiteral("Location,Frequency\r\n1,446\r\n");
    QTest::newRow("UTF-16") << QByteArray("\xFF\xFE") +
                                   QByteArray(reinterpret_cast<const char*>(utf16.utf16()),
                                              utf16.size() * 2)
                            << "/0 /0" + empty << 0
                            << "The file cannot be imported: the file is in UTF-16; save it "
                               "as CSV in UTF-8";
}

void TestCsvChirpToday::import() {
    QFETCH(QByteArray, file);
    QFETCH(QString, channels);
    QFETCH(int, rejected);
    QFETCH(QString, says);
    EditorState base;
    base.Language = English;
    const CsvImportResult r = ImportChirpCsv(file, base);
    QCOMPARE(Channels(r.state), channels);
    QCOMPARE(r.rejected.size(), rejected);
    const QString summary = CsvImportSummary(r, English);
    QVERIFY2(summary.split(u'\n').contains(says), qPrintable(summary));
}

void TestCsvChirpToday::exportCarriesBcloInTheComment() {
    EditorState s;
    s.Language = English;
    for (const int row : {1, 2}) {
        s.cell(row, ColRxFrequency) = QStringLiteral("446.00000");
        FillNewChannel(s, row, s.cell(row, ColRxFrequency));
    }
    s.setListCell(1, ColBclo, 1);
    const QString file = ExportChirpCsv(s);
    QCOMPARE(
        file,
        QStringLiteral(
            "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,"
            "DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,"
            "RPT2CALL,DVCODE\r\n"
            "1,,446.000000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,5.0W,BCLO,,,,\r\n"
            "2,,446.000000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,5.0W,,,,,\r\n"));
    // Read back, the mark is BCLO again and no name or comment is reported as lost.
    const CsvImportResult back = ImportChirpCsv(file.toUtf8(), s);
    QCOMPARE(Channels(back.state), QStringLiteral("446.00000/1 446.00000/0 /0 /0"));
    QVERIFY(!back.textsDropped);
}

QTEST_GUILESS_MAIN(TestCsvChirpToday)
#include "tst_csv_chirp_today.moc"
