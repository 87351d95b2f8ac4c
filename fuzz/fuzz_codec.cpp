// The decoder and encoder on any bytes, as a *.DAT file or a read gives them, and `tr640-cli
// resave` (read the first 850 bytes, decode into a fresh codeplug, encode, write atomically)
// on the same bytes through real files.
//
// Properties: the encoder always gives 848 bytes and their 1696 upper-case hex characters; a
// short image reads as if padded with 0xFF; after the first decode the codeplug is a fixed
// point: decoding what was encoded gives the same band, lists and channel cells (but tones the
// list lacks, and a setting held as an empty number text, which comes back as "0"), and its
// encoding the same bytes (but a look-back time of "none"); the third pass changes nothing.
// Resaving leaves the input file as it was and gives the bytes of the encoder, also onto itself.

#include "FuzzSupport.h"

#include "codeplug/Codec.h"
#include "codeplug/CodeplugFile.h"
#include "codeplug/Hex.h"
#include "codeplug/ToneTable.h"

#include <QRegularExpression>

#include <cstddef>
#include <cstdint>

using namespace tr640;

namespace {

void CheckEncoding(const EditorState& s) {
    static const QRegularExpression hexForm(QStringLiteral("^[0-9A-F]{1696}$"));
    const QByteArray image = EncodeImage(s);
    FUZZ_REQUIRE(image.size() == kImageSize);
    const QString hex = EncodeCodeplug(s);
    FUZZ_REQUIRE(hexForm.match(hex).hasMatch());
    FUZZ_REQUIRE(hex == BytesToImageHex(image));
}

bool SameDecoded(const EditorState& a, const EditorState& b) {
    for (int row = 1; row <= kChannelCount; ++row)
        for (int col = ColRxFrequency; col < kGridColumns; ++col)
            if (!(IsToneColumn(col) && b.listIndex(row, col) == kToneNotListed) &&
                (a.cell(row, col) != b.cell(row, col) ||
                 a.listIndex(row, col) != b.listIndex(row, col)))
                return false;
    return a.Band == b.Band && a.VoiceNotice == b.VoiceNotice && a.TimeOutTimer == b.TimeOutTimer &&
           a.TotPreAlert == b.TotPreAlert && a.SquelchLevel == b.SquelchLevel &&
           a.BatterySave == b.BatterySave && a.Beep == b.Beep;
}

QByteArray Resave(const QString& in, const QString& out) {
    FileStatus st;
    const QByteArray bytes = ReadCodeplugFile(in, &st);
    FUZZ_REQUIRE(st.ok() && bytes.size() == kFileReadSize);
    EditorState state;
    DecodeImage(state, bytes);
    FUZZ_REQUIRE(WriteFileAtomically(out, EncodeImage(state)).ok());
    return fuzz::ReadFile(out);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    EditorState first;
    DecodeImage(first, input);
    CheckEncoding(first);
    if (input.size() < kFileReadSize) { // what Open reads of a shorter file
        EditorState padded;
        DecodeImage(padded, input + QByteArray(kFileReadSize - input.size(), '\xFF'));
        FUZZ_REQUIRE(padded == first);
    }
    EditorState fromHex;
    DecodeCodeplug(fromHex, BytesToImageHex(input));
    FUZZ_REQUIRE(fromHex == first);

    const QByteArray once = EncodeImage(first);
    EditorState second;
    DecodeImage(second, once);
    FUZZ_REQUIRE(SameDecoded(second, first));
    const QByteArray twice = EncodeImage(second);
    FUZZ_REQUIRE(fuzz::SameOnSecondSave(once, twice));
    EditorState third;
    DecodeImage(third, twice);
    FUZZ_REQUIRE(EncodeImage(third) == twice);

    // Any text where an image text is expected, decoded over a codeplug already open.
    EditorState over = first;
    DecodeCodeplug(over, QString::fromLatin1(input));
    CheckEncoding(over);

    // Resaved through files, onto another file and onto itself.
    const QString in = fuzz::ScratchDir().filePath(QStringLiteral("in.DAT"));
    const QString out = fuzz::ScratchDir().filePath(QStringLiteral("out.DAT"));
    FUZZ_REQUIRE(fuzz::WriteFile(in, input));
    FUZZ_REQUIRE(Resave(in, out) == once); // the decoder reads less than a file gives
    FUZZ_REQUIRE(fuzz::ReadFile(in) == input);
    FUZZ_REQUIRE(Resave(in, in) == once);
    return 0;
}
