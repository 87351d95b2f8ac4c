// The preferences files `parameter` and `port` with any contents, in memory and on disk.
//
// Input: one byte whose low three bits give the length of `parameter` (7: no such file), that
// many bytes, and the rest is `port`.
//
// Properties: every value read is one the program can use (port 0..8, language 0 or 1, a port
// name only without a port number, trimmed and printable); loading the files gives what the
// parser gives for their bytes; what is saved loads back unchanged.

#include "FuzzSupport.h"

#include "app/Preferences.h"

#include <cstddef>
#include <cstdint>

using namespace tr640;
using tr640::fuzz::ScratchDir;

namespace {

void CheckUsable(const Preferences& p) {
    FUZZ_REQUIRE(p.ComPortNumber >= 0 && p.ComPortNumber <= 8);
    FUZZ_REQUIRE(p.Language == 0 || p.Language == 1);
    if (p.PortName.isEmpty())
        return;
    FUZZ_REQUIRE(p.ComPortNumber == 0);
    FUZZ_REQUIRE(p.PortName == p.PortName.trimmed());
    for (QChar c : p.PortName)
        FUZZ_REQUIRE(c.isPrint());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const int parameterSize = data[0] & 7;
    const bool parameterExists = parameterSize != 7;
    const QByteArray rest(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const QByteArray parameter = parameterExists ? rest.left(parameterSize) : QByteArray();
    const QByteArray port = parameterExists ? rest.mid(parameterSize) : rest;

    const Preferences parsed = ParsePreferences(parameter, port);
    CheckUsable(parsed);
    FUZZ_REQUIRE(SerializeParameter(parsed).size() == 3);
    FUZZ_REQUIRE(ParsePreferences(SerializeParameter(parsed), parsed.PortName.toUtf8()) == parsed);

    const QDir& dir = ScratchDir();
    const QString parameterPath = dir.filePath(QStringLiteral("parameter"));
    QFile::remove(parameterPath);
    if (parameterExists)
        FUZZ_REQUIRE(fuzz::WriteFile(parameterPath, parameter));
    FUZZ_REQUIRE(fuzz::WriteFile(dir.filePath(QStringLiteral("port")), port));
    const Preferences loaded = LoadPreferences(dir.path());
    FUZZ_REQUIRE(loaded == parsed);
    FUZZ_REQUIRE(QFile::exists(parameterPath)); // an absent file is created

    FUZZ_REQUIRE(SavePreferences(dir.path(), loaded));
    FUZZ_REQUIRE(LoadPreferences(dir.path()) == loaded);
    return 0;
}
