#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace tr640 {

// Upper-case hexadecimal without leading zeros, one "0" added when that gives a single
// digit: 0..255 give exactly two digits, larger values three or more.
QString HexByte(int v);

// 16-bit value as upper-case hexadecimal, padded with "0" to at least four digits.
QString HexWord(int v);

// Each hexadecimal digit replaced by its four binary digits, most significant first.
// A character that is not a hexadecimal digit counts as 0.
QString HexToBits(QStringView hex);

// Binary digits ("1" counts, anything else is 0), padded in front to a multiple of four,
// four at a time turned into upper-case hexadecimal digits.
QString BitsToHex(QStringView bits);

// The ImageHex form: two upper-case hexadecimal digits per byte, first byte first.
QString BytesToImageHex(QByteArrayView bytes);

// The reverse of BytesToImageHex. A character that is not a hexadecimal digit counts as 0;
// a trailing odd character is ignored.
QByteArray ImageHexToBytes(QStringView hex);

} // namespace tr640
