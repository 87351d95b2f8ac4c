// The preferences files `parameter` and `port` with any contents.
//
// Input: one byte whose low three bits give the length of `parameter` (7: no such file), that
// many bytes, and the rest is `port`.
//
// Properties: every value read is usable (port 0..8, language 0 or 1, a port name only without
// a port number, trimmed and printable); loading the files gives what the parser gives for
// their bytes; what is saved loads back unchanged.

#include "FuzzSupport.h"

#include "app/Preferences.h"

#include <QFileInfo>

#include <cstddef>
#include <cstdint>

using namespace tr640;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const int parameterSize = data[0] & 7;
    const QByteArray rest(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const QByteArray parameter = parameterSize == 7 ? QByteArray() : rest.left(parameterSize);
    const QByteArray port = parameterSize == 7 ? rest : rest.mid(parameterSize);

    const Preferences parsed = ParsePreferences(parameter, port);
    FUZZ_REQUIRE(parsed.ComPortNumber >= 0 && parsed.ComPortNumber <= 8);
    FUZZ_REQUIRE(parsed.Language == 0 || parsed.Language == 1);
    FUZZ_REQUIRE(parsed.PortName.isEmpty() || parsed.ComPortNumber == 0);
    FUZZ_REQUIRE(parsed.PortName == parsed.PortName.trimmed());
    for (QChar c : parsed.PortName)
        FUZZ_REQUIRE(c.isPrint());
    FUZZ_REQUIRE(SerializeParameter(parsed).size() == 3);
    FUZZ_REQUIRE(ParsePreferences(SerializeParameter(parsed), parsed.PortName.toUtf8()) == parsed);

    const QString dir = QFileInfo(fuzz::ScratchFile("port")).path();
    QFile::remove(fuzz::ScratchFile("parameter"));
    if (parameterSize != 7)
        FUZZ_REQUIRE(fuzz::WriteFile(fuzz::ScratchFile("parameter"), parameter));
    FUZZ_REQUIRE(fuzz::WriteFile(fuzz::ScratchFile("port"), port));
    const Preferences loaded = LoadPreferences(dir);
    FUZZ_REQUIRE(loaded == parsed);
    FUZZ_REQUIRE(QFile::exists(fuzz::ScratchFile("parameter"))); // an absent file is created
    FUZZ_REQUIRE(SavePreferences(dir, loaded) && LoadPreferences(dir) == loaded);
    return 0;
}
