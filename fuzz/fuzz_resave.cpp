// `tr640-cli resave` on any file: the steps of the command (read the first 850 bytes, decode
// into a fresh codeplug, encode, write atomically) through real files.
//
// Properties: the file written is always 848 bytes, the input file is left as it was,
// resaving the result gives the same bytes (but for a look-back time of "none", see
// SavedImage.h) and then nothing changes any more, and resaving a file onto itself gives what
// resaving it elsewhere gave.

#include "FuzzSupport.h"
#include "SavedImage.h"

#include "codeplug/Codec.h"
#include "codeplug/CodeplugFile.h"

#include <cstddef>
#include <cstdint>

using namespace tr640;
using tr640::fuzz::ScratchDir;

namespace {

bool Resave(const QString& in, const QString& out) {
    FileStatus st;
    const QByteArray bytes = ReadCodeplugFile(in, &st);
    if (!st.ok())
        return false;
    FUZZ_REQUIRE(bytes.size() == kFileReadSize);
    EditorState state;
    DecodeImage(state, bytes);
    return WriteFileAtomically(out, EncodeImage(state)).ok();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString in = ScratchDir().filePath(QStringLiteral("in.DAT"));
    const QString out = ScratchDir().filePath(QStringLiteral("out.DAT"));
    const QString again = ScratchDir().filePath(QStringLiteral("again.DAT"));
    FUZZ_REQUIRE(fuzz::WriteFile(in, input));

    FUZZ_REQUIRE(Resave(in, out));
    const QByteArray saved = fuzz::ReadFile(out);
    FUZZ_REQUIRE(saved.size() == kImageSize);
    FUZZ_REQUIRE(fuzz::ReadFile(in) == input);

    FUZZ_REQUIRE(Resave(out, again));
    const QByteArray savedAgain = fuzz::ReadFile(again);
    FUZZ_REQUIRE(fuzz::SameOnSecondSave(saved, savedAgain));
    FUZZ_REQUIRE(Resave(again, again));
    FUZZ_REQUIRE(fuzz::ReadFile(again) == savedAgain);

    FUZZ_REQUIRE(Resave(in, in));
    FUZZ_REQUIRE(fuzz::ReadFile(in) == saved);
    return 0;
}
