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

QString HexByte(int v) {
    QString s = QString::number(static_cast<quint32>(v), 16).toUpper();
    if (s.size() == 1)
        s.prepend(u'0');
    return s;
}

QString HexWord(int v) {
    return QString::number(static_cast<quint16>(v), 16).toUpper().rightJustified(4, u'0');
}

QString HexToBits(QStringView hex) {
    QString bits;
    bits.reserve(hex.size() * 4);
    for (QChar c : hex) {
        const int d = HexDigitValue(c);
        for (int b = 3; b >= 0; --b)
            bits.append((d >> b) & 1 ? u'1' : u'0');
    }
    return bits;
}

QString BitsToHex(QStringView bits) {
    const qsizetype pad = (4 - bits.size() % 4) % 4;
    QString hex;
    int value = 0;
    int count = 0;
    const auto push = [&](bool one) {
        value = value * 2 + (one ? 1 : 0);
        if (++count == 4) {
            hex.append(QLatin1Char(kDigits[value]));
            value = 0;
            count = 0;
        }
    };
    for (qsizetype i = 0; i < pad; ++i)
        push(false);
    for (QChar c : bits)
        push(c == u'1');
    return hex;
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
