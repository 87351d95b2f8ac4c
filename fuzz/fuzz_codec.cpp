// The decoder and encoder on any bytes, as a *.DAT file or a read gives them, and a resave
// (read the first 850 bytes, decode, encode, write atomically) through real files.
//
// Properties: 848 bytes out, the same from a file's bytes, their hex text and the bytes padded
// with 0xFF as Open pads a short file; after one decode the codeplug is a fixed point (but a
// look-back time of "none", 0xFF, which the decoder does not take); resaving leaves the input
// file as it was and gives the encoder's bytes, also onto itself.

#include "FuzzSupport.h"

#include "codeplug/Codec.h"
#include "codeplug/CodeplugFile.h"
#include "codeplug/Hex.h"

#include <cstddef>
#include <cstdint>

using namespace tr640;

namespace {

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
    EditorState first, fromHex;
    DecodeImage(first, input);
    DecodeCodeplug(fromHex, BytesToImageHex(input));
    FUZZ_REQUIRE(fromHex == first);
    const QByteArray once = EncodeImage(first);
    FUZZ_REQUIRE(once.size() == kImageSize && EncodeCodeplug(first) == BytesToImageHex(once));

    if (input.size() < kFileReadSize) { // what Open reads of a shorter file
        EditorState padded;
        DecodeImage(padded, input + QByteArray(kFileReadSize - input.size(), '\xFF'));
        FUZZ_REQUIRE(padded == first);
    }

    EditorState second, third;
    DecodeImage(second, once);
    const QByteArray twice = EncodeImage(second);
    for (qsizetype i = 0; i < kImageSize; ++i)
        FUZZ_REQUIRE(once[i] == twice[i] || ((i == 0x152 || i == 0x153) && once[i] == '\xFF'));
    DecodeImage(third, twice);
    FUZZ_REQUIRE(EncodeImage(third) == twice);

    EditorState over = first; // any text where an image's hex text is expected
    DecodeCodeplug(over, QString::fromLatin1(input));
    FUZZ_REQUIRE(EncodeImage(over).size() == kImageSize);

    const QString in = fuzz::ScratchFile("in.DAT"), out = fuzz::ScratchFile("out.DAT");
    FUZZ_REQUIRE(fuzz::WriteFile(in, input));
    FUZZ_REQUIRE(Resave(in, out) == once);
    FUZZ_REQUIRE(fuzz::ReadFile(in) == input);
    FUZZ_REQUIRE(Resave(in, in) == once);
    return 0;
}
