// Every numeric setting of the image survives a decode and a new encode: a field the decoder
// skips comes back with its start-up value and the images differ.

#include "codeplug/Codec.h"

#include <QTest>

using namespace tr640;

class TestCodecFields : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyFieldRoundTrips_data();
    void everyFieldRoundTrips();
};

void TestCodecFields::everyFieldRoundTrips_data() {
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("value"); // the highest the decoder takes; above 255 two bytes
    // From DtmfRate at 0x100 to TxLowPower at 0x178, GroupCallCode and Duplicate included.
    const std::pair<int, int> fields[] = {
        {0x100, 3},   {0x101, 3},  {0x102, 100}, {0x103, 3},  {0x104, 16}, {0x105, 1},
        {0x106, '9'}, {0x107, 15}, {0x10D, 11},  {0x10E, 11}, {0x11F, 2},  {0x120, 40},
        {0x121, 10},  {0x122, 2},  {0x124, 9},   {0x125, 1},  {0x126, 1},  {0x127, 1},
        {0x128, 1},   {0x129, 1},  {0x12A, 10},  {0x12B, 5},  {0x12C, 1},  {0x12E, 0xFF},
        {0x150, 2},   {0x151, 16}, {0x152, 91},  {0x153, 91}, {0x154, 3},  {0x155, 300},
        {0x157, 300}, {0x173, 63}, {0x178, 63},
    };
    for (const auto& [offset, value] : fields)
        QTest::addRow("0x%03X", offset) << offset << value;
}

void TestCodecFields::everyFieldRoundTrips() {
    QFETCH(int, offset);
    QFETCH(int, value);
    QByteArray image = EncodeImage(EditorState());
    image[offset] = char(value & 0xFF);
    if (value > 0xFF)
        image[offset + 1] = char(value >> 8);
    EditorState decoded;
    DecodeImage(decoded, image);
    QCOMPARE(EncodeImage(decoded).toHex(' '), image.toHex(' '));
}

QTEST_GUILESS_MAIN(TestCodecFields)
#include "tst_codec_fields.moc"
