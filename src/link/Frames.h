#pragma once

// The frames of the programming dialogue, as the PC sends them, and the memory they cover.
// Addresses are radio addresses, 16 bits, high byte first on the wire.

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

namespace tr640::link {

inline constexpr char kAck = 0x06;
inline constexpr char kIdentify = 0x02;
inline constexpr char kEnd = 0x45; // 'E'

// A read fetches 16 blocks of 64 bytes, 0x0010-0x040F.
inline constexpr int kReadStart = 0x0010;
inline constexpr int kReadBlockSize = 64;
inline constexpr int kReadBlocks = 16;
inline constexpr int kReadEnd = kReadStart + kReadBlocks * kReadBlockSize; // 0x0410
inline constexpr int kReadHexLength = 2 * kReadBlocks * kReadBlockSize;    // 2048

// A write sends 16-byte frames over 0x0010-0x017F, 0x0180-0x018F (calibration only),
// 0x01B8-0x01C7 and 0x0200-0x035F.
inline constexpr int kWriteFrameSize = 16;
inline constexpr int kCalibrationBlock = 0x0180;
inline constexpr int kIdentBlock = 0x01B8;
inline constexpr int kUpperStart = 0x0200;
inline constexpr int kWriteEnd = 0x0360;

// Data frames from the radio: 'W', address, length byte, 64 data bytes.
inline constexpr int kDataFrameSize = 4 + kReadBlockSize;
// The identification reply: 8 bytes, the band code in the sixth.
inline constexpr int kIdentReplySize = 8;
inline constexpr int kIdentBandOffset = 5;

QByteArray ProgramModeRequest();                           // "PROGRAM"
QByteArray ReadRequest(int address);                       // 'R' hi lo 0x40
QByteArray WriteFrame(int address, QByteArrayView data16); // 'W' hi lo 0x10 + 16 bytes
inline QByteArray SingleByte(char b) {
    return QByteArray(1, b);
}

} // namespace tr640::link
