// The decoder and encoder on any bytes, as a *.DAT file or a read would give them.
//
// Properties: the encoder always gives 848 bytes and 1696 upper-case hex characters, the byte
// and the hex forms agree, a short image reads as if padded with 0xFF, and after the first
// decode the codeplug is a fixed point: decoding what was encoded gives the same band,
// main-window lists and channel cells, and encoding that gives the same bytes again. What may
// change, as the decoder's forms allow: on the first pass a setting held as an empty number
// text comes back as "0", and a tone word the tone list lacks (a DCS word without bit 0x800
// decodes to two octal digits, "D40N", which encodes as D400N) comes back as another tone; on
// the second a look-back time of "none" (see SavedImage.h). The third pass changes nothing.

#include "FuzzSupport.h"
#include "SavedImage.h"

#include "codeplug/Codec.h"
#include "codeplug/CodeplugFile.h"
#include "codeplug/Hex.h"
#include "codeplug/ToneTable.h"

#include <cstddef>
#include <cstdint>

using namespace tr640;

namespace {

bool IsImageHex(const QString& hex) {
    for (QChar c : hex)
        if (!((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F')))
            return false;
    return true;
}

void CheckEncoding(const EditorState& s) {
    const QByteArray image = EncodeImage(s);
    FUZZ_REQUIRE(image.size() == kImageSize);
    const QString hex = EncodeCodeplug(s);
    FUZZ_REQUIRE(hex.size() == kImageHexLength);
    FUZZ_REQUIRE(IsImageHex(hex));
    FUZZ_REQUIRE(hex == BytesToImageHex(image));
}

bool SameChannels(const EditorState& a, const EditorState& b) {
    for (int row = 1; row <= kChannelCount; ++row)
        for (int col = ColRxFrequency; col < kGridColumns; ++col) {
            if (IsToneColumn(col) && b.listIndex(row, col) == kToneNotListed)
                continue;
            if (a.cell(row, col) != b.cell(row, col) ||
                a.listIndex(row, col) != b.listIndex(row, col))
                return false;
        }
    return true;
}

bool SameLists(const EditorState& a, const EditorState& b) {
    return a.VoiceNotice == b.VoiceNotice && a.TimeOutTimer == b.TimeOutTimer &&
           a.TotPreAlert == b.TotPreAlert && a.SquelchLevel == b.SquelchLevel &&
           a.BatterySave == b.BatterySave && a.Beep == b.Beep;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));

    EditorState first;
    DecodeImage(first, input);
    CheckEncoding(first);

    // What Open reads of a shorter file: the rest as 0xFF.
    if (input.size() < kFileReadSize) {
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
    FUZZ_REQUIRE(SameChannels(second, first));
    FUZZ_REQUIRE(second.Band == first.Band);
    FUZZ_REQUIRE(SameLists(second, first));
    const QByteArray twice = EncodeImage(second);
    FUZZ_REQUIRE(fuzz::SameOnSecondSave(once, twice));
    EditorState third;
    DecodeImage(third, twice);
    FUZZ_REQUIRE(EncodeImage(third) == twice);

    // Any text where an image text is expected, decoded over a codeplug already open.
    EditorState over = first;
    DecodeCodeplug(over, QString::fromLatin1(input));
    CheckEncoding(over);
    return 0;
}
