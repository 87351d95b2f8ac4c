// Golden images and round trips of the codeplug codec.

#include "codeplug/BandTable.h"
#include "codeplug/ChannelRules.h"
#include "codeplug/ChannelSetup.h"
#include "codeplug/Codec.h"
#include "codeplug/Hex.h"
#include "codeplug/ListTexts.h"

#include <QTest>

#include <array>

using namespace tr640;
using tr640::test::SetChannel;

using Change = void (*)(tr640::EditorState&);
Q_DECLARE_METATYPE(tr640::CellProblem)
Q_DECLARE_METATYPE(Change)

namespace {

// Bytes in hex, "FF*5" for five bytes FF.
QByteArray Hex(const char* spaced) {
    QByteArray bytes;
    for (const QByteArray& token : QByteArray(spaced).split(' ')) {
        const QList<QByteArray> parts = token.split('*');
        bytes += QByteArray::fromHex(parts[0]).repeated(parts.size() > 1 ? parts[1].toInt() : 1);
    }
    return bytes;
}

QByteArray StartupImage() {
    return EncodeImage(EditorState());
}

QString RowText(const EditorState& s, int row) {
    QStringList cells;
    for (int col = ColRxFrequency; col <= ColScanAdd; ++col)
        cells << s.cell(row, col);
    return cells.join(u'|');
}

} // namespace

class TestCodec : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startupImage();
    void identificationArea_data();
    void identificationArea();
    void channelRecords_data();
    void channelRecords();
    void decodedRecords_data();
    void decodedRecords();
    void settingsFields_data();
    void settingsFields();
    void settingValues_data();
    void settingValues();
    void toneList();
    void channelCells_data();
    void channelCells();
};

void TestCodec::startupImage() {
    const QString hex = EncodeCodeplug(EditorState());
    QCOMPARE(hex.size(), kImageHexLength);
    const QByteArray img = ImageHexToBytes(hex);
    QCOMPARE(img.first(0x100).toHex(' '), Hex("FF*12 F8 F0 FC FF").repeated(16).toHex(' '));
    QCOMPARE(img.mid(0x100, 0x80).toHex(' '),
             Hex("00 01 00 01 01 01 00 00 FF*5 0A 00 FF FF*15 01 06 01 01 00 04 01 01 01 01 01 01 "
                 "01 01 FF FF FF 31 FF*15 32 FF*15 00 01 01 01 01 00 00 00 00 FF*21 00 00 FF FF FF "
                 "3F FF FF FF FF 00 FF*7")
                 .toHex(' '));
    QCOMPARE(img.mid(0x1F0, 0x140).toHex(' '),
             Hex("31 FF*15 32 FF*15 33 FF*15 34 FF*15 35 FF*15 36 FF*15 37 FF*15 38 FF*15 FF*192")
                 .toHex(' '));
    QCOMPARE(img.mid(0x340), QByteArray("73518264") + QByteArray(8, '\x88'));
}

void TestCodec::identificationArea_data() {
    QTest::addColumn<int>("band");
    QTest::addColumn<QByteArray>("modelArea");
    QTest::addColumn<QByteArray>("longArea");
    QTest::newRow("400-470") << 0 << Hex("4D 36 31 31 36 33 F8 FF") << QByteArray("RQ-6116");
    QTest::newRow("136-174") << 5 << Hex("4D 35 31 31 36 01 F8 FF") << QByteArray("RQ-5116");
    QTest::newRow("600-720") << 6 << Hex("4D 36 31 31 36 73 F8 FF") << QByteArray("RQ-6116");
}

void TestCodec::identificationArea() {
    QFETCH(int, band);
    QFETCH(QByteArray, modelArea);
    QFETCH(QByteArray, longArea);
    EditorState s;
    s.Band = band;
    const QByteArray img = EncodeImage(s);
    QCOMPARE(img.mid(0x1A8, 8), modelArea);
    QCOMPARE(img.mid(0x330, 7), longArea);
    QCOMPARE(img.at(0x33C), modelArea.at(5));
    EditorState back;
    DecodeImage(back, img);
    QCOMPARE(back.Band, band);
    QCOMPARE(back.CurrentBandIndex, band);
}

void TestCodec::channelRecords_data() {
    QTest::addColumn<QString>("channel"); // as the grid shows it in English
    QTest::addColumn<QByteArray>("record");
    const auto row = [](const char* name, const char* channel, const char* record) {
        QTest::newRow(name) << QString(channel) << Hex(record);
    };
    row("example", "435.12500|67.0|435.12500|D023N|High|Carrier|Wide|Yes",
        "00 25 51 43 00 25 51 43 9E 02 13 28 F8 F0 FC FF");
    row("low off narrow", "435.12500|67.0|435.12500|D023N|Low|Off|Narrow|No",
        "00 25 51 43 00 25 51 43 9E 02 13 28 F0 C0 FC FF");
    row("D754I, 254.1", "136.00000|254.1|174.00625|D754I|High|Off|Wide|No",
        "00 00 60 13 25 06 40 17 ED 09 EC A9 F0 F0 FC FF");
    row("D754N, no tones", "720.00000|Off|600.00500|D754N|Low|Carrier|Wide|Yes",
        "00 00 00 72 00 05 00 60 FF FF EC 29 F8 D0 FC FF");
    row("unlisted tones", "435.00000|88.0|435.00000|D005N|High|Carrier|Wide|Yes",
        "00 00 50 43 00 00 50 43 70 03 05 28 F8 F0 FC FF");
}

// Typed into channels 1, 8, 9 and 16: the record, the scan bits, and the same text decoded.
void TestCodec::channelRecords() {
    QFETCH(QString, channel);
    QFETCH(QByteArray, record);
    const QStringList c = channel.split(u'|');
    EditorState s;
    for (int row : {1, 8, 9, 16})
        SetChannel(s, row, c[0], c[1], c[2], c[3], c[4] == "High", c[5] == "Carrier",
                   c[6] == "Wide", c[7] == "Yes");
    const QByteArray img = EncodeImage(s);
    QCOMPARE(img.mid(0, 16).toHex(' '), record.toHex(' '));
    QCOMPARE(img.mid(0xF0, 16).toHex(' '), record.toHex(' '));
    QCOMPARE(img.mid(0x16E, 2), c[7] == "Yes" ? Hex("81 81") : Hex("00 00"));
    EditorState back;
    DecodeImage(back, img);
    back.Language = English;
    back.SetGrid1Text();
    QCOMPARE(RowText(back, 1), channel);
    QCOMPARE(EncodeImage(back).toHex(' '), img.toHex(' '));
}

// Channel 1's record as a radio may hold it, decoded from a radio's and a file's text over
// 400.00000 at high power with calibration writes on, and encoded again.
void TestCodec::decodedRecords_data() {
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<QString>("decoded");
    QTest::newRow("no TX frequency, no TX tone")
        << Hex("00 00 50 43 FF*8 F8 F0 FC FF") << "435.00000|关闭|||高|载波|宽带|无";
    QTest::newRow("TX tone without a TX frequency")
        << Hex("00 00 50 43 FF*6 9E 02 F8 F0 FC FF") << "435.00000|关闭||67.0|高|载波|宽带|无";
    QTest::newRow("not a decimal frequency")
        << Hex("00 00 50 FF FF*8 F8 F0 FC FF") << "FF5.00000|关闭|||高|载波|宽带|无";
    QTest::newRow("empty channel") << Hex("FF*12 F8 F0 FC FF") << "|||||||";
}

void TestCodec::decodedRecords() {
    QFETCH(QByteArray, record);
    QByteArray img = StartupImage();
    img.replace(0, 16, record);
    EditorState s;
    s.cell(1, ColRxFrequency) = "400.00000";
    s.listIndex(1, ColPower) = 1;
    s.CalibrationWrite = 1;
    EditorState file = s;
    const QString hex = QString::fromLatin1(img.toHex().toUpper());
    DecodeCodeplug(s, hex + QString(2048 - kImageHexLength, u'0')); // as a radio sends it
    DecodeCodeplug(file, hex + "FFFF");                             // as a file holds it
    QVERIFY(s == file);
    QCOMPARE(s.CalibrationWrite, 0);
    QTEST(RowText(s, 1), "decoded");
    QCOMPARE(s.listIndex(1, ColPower), 1);
    QCOMPARE(EncodeImage(s).mid(0, 16).toHex(' '), record.toHex(' '));
}

void TestCodec::settingsFields_data() {
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("taken");
    // Both ends of every numeric field decoded over the start-up codeplug and encoded again
    // (above 255: two bytes); out-of-range values leave the start-up bytes.
    const std::array<int, 3> fields[] = {
        {0x100, 0, 3},   {0x101, 0, 3},   {0x102, 10, 100}, {0x103, 0, 3},       {0x104, 0, 16},
        {0x105, 0, 1},   {0x106, 0, '9'}, {0x107, 0, 15},   {0x10D, 0, 11},      {0x10E, 0, 11},
        {0x11F, 0, 2},   {0x120, 0, 40},  {0x121, 0, 10},   {0x122, 0, 2},       {0x124, 0, 9},
        {0x125, 0, 1},   {0x126, 0, 1},   {0x127, 0, 1},    {0x128, 0, 1},       {0x129, 0, 1},
        {0x12A, 0, 10},  {0x12B, 0, 5},   {0x12C, 0, 1},    {0x12E, 0xFE, 0xFF}, {0x150, 0, 2},
        {0x151, 1, 16},  {0x152, 1, 91},  {0x153, 1, 91},   {0x154, 0, 3},       {0x155, 0, 300},
        {0x157, 0, 300}, {0x173, 0, 63},  {0x178, 0, 63}};
    for (const auto& [offset, low, high] : fields)
        for (const int value : {low, high}) {
            QByteArray stored(1, char(value & 0xFF));
            if (high > 0xFF)
                stored += char(value >> 8);
            QTest::addRow("0x%03X = %d", offset, value) << offset << stored << true;
        }
    const auto kept = [](const char* name, int offset, const char* bytes) {
        QTest::newRow(name) << offset << Hex(bytes) << false;
    };
    kept("FirstDigitDelay 05", 0x102, "05");
    kept("GroupCallCode FF", 0x106, "FF");
    kept("TimeOutTimer 41", 0x120, "29");
    kept("PriorityChannel 0", 0x151, "00");
    kept("band code 00", 0x1AD, "00");
    kept("Dropout 301", 0x155, "2D 01");
}

void TestCodec::settingsFields() {
    QFETCH(int, offset);
    QFETCH(QByteArray, stored);
    QFETCH(bool, taken);
    QByteArray img = StartupImage();
    img.replace(offset, stored.size(), stored);
    EditorState s;
    DecodeImage(s, img);
    QCOMPARE(EncodeImage(s).toHex(' '), (taken ? img : StartupImage()).toHex(' '));
}

void TestCodec::toneList() {
    const QString ctcss("67.0 69.3 71.9 74.4 77.0 79.7 82.5 85.4 88.5 91.5 94.8 97.4 100.0 103.5 "
                        "107.2 110.9 114.8 118.8 123.0 127.3 131.8 136.5 141.3 146.2 151.4 156.7 "
                        "159.8 162.2 165.5 167.9 171.3 173.8 177.3 179.9 183.5 186.2 189.9 192.8 "
                        "196.6 199.9 203.5 206.5 210.7 218.1 225.7 229.1 233.6 241.8 250.3 254.1");
    const QString dcs("023 025 026 031 032 036 043 047 051 053 054 065 071 072 073 074 114 115 116 "
                      "122 125 131 132 134 143 145 152 155 156 162 165 172 174 205 212 223 225 226 "
                      "243 244 245 246 251 252 255 261 263 265 266 271 274 306 311 315 325 331 332 "
                      "343 346 351 356 364 365 371 411 412 413 423 431 432 445 446 452 454 455 462 "
                      "464 465 466 503 506 516 523 526 532 546 565 606 612 624 627 631 632 645 654 "
                      "662 664 703 712 723 731 732 734 743 754");
    QStringList expected = QStringList{"Off"} + ctcss.split(u' ');
    for (const char* polarity : {"N", "I"})
        for (const QString& code : dcs.split(u' '))
            expected << u'D' + code + QLatin1String(polarity);
    QStringList list;
    for (int p = 0; p < kToneListSize; ++p)
        list << ToneListText(p, English);
    QCOMPARE(list, expected);
}

// Typing into channel 1 (435.00000 on 400-470MHz) or the empty channel 2.
void TestCodec::channelCells_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("cell"); // afterwards
    QTest::addColumn<CellProblem>("problem");
    const auto row = [](const char* name, int r, int column, const char* typed, const char* cell,
                        CellProblem problem = CellProblem::None) {
        QTest::newRow(name) << r << column << QString(typed) << QString(cell) << problem;
    };
    using P = CellProblem;
    row("snapped to 6.25 kHz", 1, ColRxFrequency, "435.0137", "435.01250");
    row("snapped to 5 kHz", 1, ColRxFrequency, "435.016", "435.01500");
    row("on the 6.25 kHz raster", 1, ColTxFrequency, "435.00625", "435.00625");
    row("band edge", 1, ColTxFrequency, "470", "470.00000");
    row("above the band", 1, ColRxFrequency, "470.001", "435.00000", P::OutOfBand);
    row("not a number", 1, ColRxFrequency, "4x5", "435.00000", P::NotNumeric);
    row("unlisted tone", 1, ColRxTone, "254.0", "254.0");
    row("whole hertz", 1, ColTxTone, "100", "100.0");
    row("DCS", 1, ColTxTone, "D754I", "D754I");
    row("tone above 254.1", 1, ColRxTone, "254.2", "Off", P::UnknownTone);
    row("list entry", 1, ColPower, "Low", "Low");
    row("not an entry", 1, ColPower, "x", "High", P::UnknownEntry);
    row("empty channel", 2, ColRxTone, "67.0", "", P::EmptyChannel);
}

void TestCodec::channelCells() {
    EditorState s;
    s.Language = English;
    QCOMPARE(SetChannelCell(s, 1, ColRxFrequency, "435", 400, 470), CellProblem::None);
    QCOMPARE(RowText(s, 1), QString("435.00000|Off|435.00000|Off|High|Off|Wide|Yes"));
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, typed);
    QTEST(SetChannelCell(s, row, column, typed, 400, 470), "problem");
    QTEST(s.cell(row, column), "cell");
}

// A value, its bytes (out of range: kept within the field) and a decode of them (or of `stored`)
// giving back the value, or, out of range, one that writes the same bytes.
void TestCodec::settingValues_data() {
    QTest::addColumn<Change>("change");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<bool>("inRange");
    QTest::addColumn<QByteArray>("stored");
    const auto row = [](const char* name, Change change, int offset, const char* expected,
                        bool inRange = true, const char* stored = "") {
        QTest::newRow(name) << change << offset << Hex(expected) << inRange << Hex(stored);
    };
    row(
        "delay in tens of ms", [](EditorState& s) { s.Settings.FirstDigitDelay = 250; }, 0x102,
        "19");
    row(
        "delay 9000", [](EditorState& s) { s.Settings.FirstDigitDelay = 9000; }, 0x102, "64",
        false);
    row(
        "time-out as position + 1", [](EditorState& s) { s.TimeOutTimer = 5; }, 0x120, "06");
    row(
        "time-out 39", [](EditorState& s) { s.TimeOutTimer = 39; }, 0x120, "28");
    row(
        "no time-out", [](EditorState& s) { s.TimeOutTimer = -1; }, 0x120, "00");
    row(
        "dropout in two bytes", [](EditorState& s) { s.Settings.DropoutDelayTime = "300"; }, 0x155,
        "2C 01");
    row(
        "dropout 99999", [](EditorState& s) { s.Settings.DropoutDelayTime = "99999"; }, 0x155,
        "2C 01", false);
    row(
        "TX high power", [](EditorState& s) { s.Settings.TxHighPower = 200; }, 0x173, "C8");
    row(
        "test frequency 45 MHz", [](EditorState& s) { s.Settings.TestRxFrequency[0] = "45.00000"; },
        0x270, "00 00 50 04", false);
    row(
        "test frequency 1000 MHz", [](EditorState& s) { s.Settings.TestTxFrequency[0] = "1000"; },
        0x274, "99 99 99 99", false);
    row(
        "Duplicate 10", [](EditorState& s) { s.Settings.Duplicate = "10"; }, 0x12E, "FF", false);
    row(
        "GroupCallCode 9", [](EditorState& s) { s.Settings.GroupCallCode = 9; }, 0x106, "39");
    row(
        "GroupCallCode 12", [](EditorState& s) { s.Settings.GroupCallCode = 12; }, 0x106, "31",
        false);
    // Character fields: the ID code's unused places read back as 0xFF characters.
    row(
        "ID code", [](EditorState& s) { s.Settings.IdCode = "123"; }, 0x110, "31 32 33 FF*7",
        false);
    row(
        "ID code of 15", [](EditorState& s) { s.Settings.IdCode = "123456789012345"; }, 0x110,
        "31 32 33 34 35 36 37 38 39 30", false);
    row(
        "digit 0 stored as 3A", [](EditorState& s) { s.Settings.AutodialMemory[0] = "1230"; },
        0x1F0, "31 32 33 3A FF*12");
    row(
        "FF between characters skipped", [](EditorState& s) { s.Settings.LaunchStartCode = "A*#"; },
        0x130, "41 2A 23 FF*13", true, "41 FF 2A 23 FF*12");
    row(
        "32 characters", [](EditorState& s) { s.Settings.EmbeddedMessage[0] = QString(32, u'x'); },
        0x2F0, "78*32 FF");
    row(
        "Latin-1", [](EditorState& s) { s.Settings.EmbeddedMessage[0] = "caf\u00e9"; }, 0x2F0,
        "63 61 66 E9 FF*29");
    row(
        "no 8-bit code, 33rd cut",
        [](EditorState& s) { s.Settings.EmbeddedMessage[0] = "\u4e2d" + QString(32, u'y'); }, 0x2F0,
        "3F 79*31 FF", false);
}

void TestCodec::settingValues() {
    QFETCH(Change, change);
    QFETCH(int, offset);
    QFETCH(QByteArray, expected);
    QFETCH(QByteArray, stored);
    EditorState held;
    DecodeImage(held, StartupImage());
    change(held);
    QByteArray img = EncodeImage(held);
    QCOMPARE(img.mid(offset, expected.size()).toHex(' '), expected.toHex(' '));
    EditorState back;
    DecodeImage(back,
                stored.isEmpty() ? img : QByteArray(img).replace(offset, stored.size(), stored));
    QTEST(back == held, "inRange");
    QCOMPARE(EncodeImage(back).toHex(' '), img.toHex(' '));
    img.replace(offset, expected.size(), StartupImage().mid(offset, expected.size()));
    QCOMPARE(img.toHex(' '), StartupImage().toHex(' ')); // nothing outside the field moved
}

QTEST_GUILESS_MAIN(TestCodec)
#include "tst_codec.moc"
