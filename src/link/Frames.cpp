#include "link/Frames.h"

namespace tr640::link {

namespace {

QByteArray AddressedHeader(char command, int address, char length) {
    QByteArray f;
    f.append(command);
    f.append(static_cast<char>((address >> 8) & 0xFF));
    f.append(static_cast<char>(address & 0xFF));
    f.append(length);
    return f;
}

} // namespace

QByteArray ProgramModeRequest() {
    return QByteArrayLiteral("PROGRAM");
}

QByteArray ReadRequest(int address) {
    return AddressedHeader('R', address, static_cast<char>(kReadBlockSize));
}

QByteArray WriteFrame(int address, QByteArrayView data16) {
    QByteArray f = AddressedHeader('W', address, static_cast<char>(kWriteFrameSize));
    f.append(data16.first(qMin<qsizetype>(data16.size(), kWriteFrameSize)));
    return f;
}

} // namespace tr640::link
