#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace tr640 {

// 16-bit value as upper-case hexadecimal, padded with "0" to at least four digits.
QString HexWord(int v);

// The ImageHex form: two upper-case hexadecimal digits per byte, first byte first.
QString BytesToImageHex(QByteArrayView bytes);

// The reverse of BytesToImageHex. A character that is not a hexadecimal digit counts as 0;
// a trailing odd character is ignored.
QByteArray ImageHexToBytes(QStringView hex);

} // namespace tr640
