#include "codeplug/Hex.h"

namespace tr640 {

namespace {

int HexDigitValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return 0;
}

constexpr char kDigits[] = "0123456789ABCDEF";

} // namespace

QString HexWord(int v) {
    return QString::number(static_cast<quint16>(v), 16).toUpper().rightJustified(4, u'0');
}

QString BytesToImageHex(QByteArrayView bytes) {
    QString hex(bytes.size() * 2, Qt::Uninitialized);
    QChar* out = hex.data();
    for (char ch : bytes) {
        const auto b = static_cast<quint8>(ch);
        *out++ = QLatin1Char(kDigits[b >> 4]);
        *out++ = QLatin1Char(kDigits[b & 0x0F]);
    }
    return hex;
}

QByteArray ImageHexToBytes(QStringView hex) {
    QByteArray bytes(hex.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] =
            static_cast<char>(HexDigitValue(hex[2 * i]) * 16 + HexDigitValue(hex[2 * i + 1]));
    return bytes;
}

} // namespace tr640
