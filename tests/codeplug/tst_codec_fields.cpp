// Every numeric setting of the image survives a decode and a new encode: a field the decoder
// skips comes back with its start-up value and the images differ.

#include "codeplug/Codec.h"

#include <QTest>

#include <array>

using namespace tr640;

class TestCodecFields : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyFieldRoundTrips_data();
    void everyFieldRoundTrips();
};

void TestCodecFields::everyFieldRoundTrips_data() {
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("low");  // the lowest and highest values the decoder takes
    QTest::addColumn<int>("high"); // above 255: two bytes
    // From DtmfRate at 0x100 to TxLowPower at 0x178, GroupCallCode and Duplicate included.
    const std::array<int, 3> fields[] = {
        {0x100, 0, 3},   {0x101, 0, 3},   {0x102, 10, 100}, {0x103, 0, 3},       {0x104, 0, 16},
        {0x105, 0, 1},   {0x106, 0, '9'}, {0x107, 0, 15},   {0x10D, 0, 11},      {0x10E, 0, 11},
        {0x11F, 0, 2},   {0x120, 0, 40},  {0x121, 0, 10},   {0x122, 0, 2},       {0x124, 0, 9},
        {0x125, 0, 1},   {0x126, 0, 1},   {0x127, 0, 1},    {0x128, 0, 1},       {0x129, 0, 1},
        {0x12A, 0, 10},  {0x12B, 0, 5},   {0x12C, 0, 1},    {0x12E, 0xFE, 0xFF}, {0x150, 0, 2},
        {0x151, 1, 16},  {0x152, 1, 91},  {0x153, 1, 91},   {0x154, 0, 3},       {0x155, 0, 300},
        {0x157, 0, 300}, {0x173, 0, 63},  {0x178, 0, 63}};
    for (const auto& [offset, low, high] : fields)
        QTest::addRow("0x%03X", offset) << offset << low << high;
}

void TestCodecFields::everyFieldRoundTrips() {
    QFETCH(int, offset);
    QFETCH(int, low);
    QFETCH(int, high);
    for (const int value : {low, high}) { // one of them differs from the start-up value
        QByteArray image = EncodeImage(EditorState());
        image[offset] = char(value & 0xFF);
        if (high > 0xFF)
            image[offset + 1] = char(value >> 8);
        EditorState decoded;
        DecodeImage(decoded, image);
        QCOMPARE(EncodeImage(decoded).toHex(' '), image.toHex(' '));
    }
}

QTEST_GUILESS_MAIN(TestCodecFields)
#include "tst_codec_fields.moc"
