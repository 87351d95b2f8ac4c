// The field-by-field compare, tr640-cli diff and the channel sheet as PDF.

#include "DealerSamples.h"
#include "cli/CliRun.h"
#include "codeplug/Codec.h"
#include "codeplug/CodeplugDiff.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace tr640;
using namespace tr640::test;

namespace {

QByteArray Image(void (*change)(EditorState&)) {
    EditorState s = Customer();
    if (change)
        change(s);
    return EncodeImage(s);
}

QByteArray WithByte(int offset, char value) {
    return Image(nullptr).replace(offset, 1, QByteArray(1, value));
}

} // namespace

class TestDealerFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void compare_data();
    void compare();
    void sheet_data();
    void sheet();
};

void TestDealerFiles::compare_data() {
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<int>("scope");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QStringList>("fields"); // as tr640-cli diff --json names them
    const int whole = int(CompareScope::WholeImage);
    const int written = int(CompareScope::WrittenBytes);
    const int calibration = int(CompareScope::WrittenBytesWithCalibration);

    QTest::newRow("same") << Image(nullptr) << whole << QStringList() << QStringList();
    QTest::newRow("channel, setting, message")
        << Image([](EditorState& s) {
               s.cell(3, ColRxFrequency) = "436.00000";
               s.setListCell(2, ColPower, 0);
               s.TimeOutTimer = 3;
               s.Settings.EmbeddedMessage[0] = "XYZ";
           })
        << whole
        << QStringList{"Channel 02 Power: High → Low",
                       "Channel 03 RX frequency: 435.12500 → 436.00000",
                       "Time-out Timer: 90 S → 60 S", R"(Embedded message line 1: "ABC" → "XYZ")"}
        << QStringList{"Channel02.Power", "Channel03.RxFrequency", "TimeOutTimer",
                       "EmbeddedMessage1"};
    QTest::newRow("new and removed channels") << Image([](EditorState& s) {
        s.ClearNO(1);
        s.cell(5, ColRxFrequency) = "440.00000";
    }) << whole << QStringList{"Channel 01: removed", "Channel 05: new"}
                                              << QStringList{"Channel01", "Channel05"};
    QTest::newRow("band first") << Image([](EditorState& s) {
        s.Band = 2;
        s.cell(4, ColTxFrequency).clear();
    }) << whole
                                << QStringList{"Band: 400-470MHz → 400-430MHz",
                                               "Channel 04 TX frequency: 438.00000 → (empty)",
                                               "Channel 04 TX tone: Off → (empty)"}
                                << QStringList{"Band", "Channel04.TxFrequency", "Channel04.TxTone"};
    // Bytes no field explains: fill, and a stored time-out the decoder does not take.
    QTest::newRow("fill byte") << WithByte(0x108, 0) << whole
                               << QStringList{"Other data: 1 byte(s)"} << QStringList{"OtherData"};
    // A write never sends 0x180-0x1A7 and sends the calibration block only on request.
    QTest::newRow("unsent area") << WithByte(0x190, 0) << written << QStringList() << QStringList();
    QTest::newRow("calibration, not sent")
        << Image([](EditorState& s) { s.Settings.TxHighPower = 50; }) << written << QStringList()
        << QStringList();
    QTest::newRow("calibration, sent")
        << Image([](EditorState& s) { s.Settings.TxHighPower = 50; }) << calibration
        << QStringList{"TX high power: 63 → 50"} << QStringList();
}

// The library's list, and for the whole image tr640-cli diff's: exit status, texts, names.
void TestDealerFiles::compare() {
    QFETCH(QByteArray, after);
    QFETCH(int, scope);
    QFETCH(QStringList, expected);
    QCOMPARE(DescribeChanges(CompareCodeplugs(Image(nullptr), after, English, CompareScope(scope)),
                             English),
             expected);
    if (scope != int(CompareScope::WholeImage))
        return;
    QTemporaryDir dir;
    const QString a = dir.filePath("a.DAT");
    QVERIFY(PutFile(a, Image(nullptr)) && PutFile(dir.filePath("b.DAT"), after));
    const CliResult r = RunCli({"diff", "--json", "--lang", "en", a, dir.filePath("b.DAT")});
    QCOMPARE(r.status, expected.isEmpty() ? 0 : 7);
    const QJsonObject json = QJsonDocument::fromJson(r.out).object();
    QCOMPARE(json.value("equal").toBool(), expected.isEmpty());
    QStringList texts, fields;
    for (const QJsonValue& v : json.value("changes").toArray()) {
        texts << v["text"].toString();
        fields << v["field"].toString();
    }
    QCOMPARE(texts, expected);
    QTEST(fields, "fields");
    if (expected.isEmpty()) // and a file that is not there
        QCOMPARE(RunCli({"diff", a, dir.filePath("none.DAT")}).status, 1);
}

void TestDealerFiles::sheet_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("title");
    QTest::newRow("zh") << "zh" << QString("TR-640 信道表");
    QTest::newRow("en") << "en" << QString("TR-640 channel sheet");
}

void TestDealerFiles::sheet() {
    QFETCH(QString, language);
    QFETCH(QString, title);
    QTemporaryDir dir;
    EditorState s;
    s.Band = s.CurrentBandIndex = 5; // 136-174MHz
    QStringList frequencies;
    for (int row = 1; row <= 15; ++row) { // channel 16 stays empty
        frequencies << QStringLiteral("1%1.%2").arg(40 + row).arg(row * 125, 5, 10, QChar('0'));
        s.cell(row, ColRxFrequency) = frequencies.last();
    }
    QVERIFY(PutFile(dir.filePath("c.DAT"), EncodeImage(s)));
    const QString pdf = dir.filePath("c.pdf");
    QCOMPARE(RunCli({"sheet", "--lang", language, dir.filePath("c.DAT"), pdf}).status, 0);
#ifdef Q_OS_WIN
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-");
    QSKIP("the sheet's text is read back with pdftotext on Linux");
#endif
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    QVERIFY2(!pdftotext.isEmpty(), "pdftotext (poppler-utils) is needed");
    QProcess text;
    text.start(pdftotext, {"-layout", pdf, "-"});
    QVERIFY(text.waitForFinished(30000));
    const QString page = QString::fromUtf8(text.readAllStandardOutput());
    QVERIFY2(page.contains(title), qPrintable(page));
    QVERIFY(page.contains("136-174MHz") && page.contains("c.DAT"));
    for (const QString& f : frequencies)
        QVERIFY2(page.contains(f), qPrintable(f));
    QCOMPARE(page.count("\f"), 1); // one page
}

QTEST_GUILESS_MAIN(TestDealerFiles)
#include "tst_dealer_files.moc"
