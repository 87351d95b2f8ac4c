#include "codeplug/ToneTable.h"

#include "codeplug/ListTexts.h"
#include "codeplug/Numbers.h"

#include <QHash>
#include <cmath>

namespace tr640 {

const std::array<int, kCtcssCount> kCtcssTenths{
    670,  693,  719,  744,  770,  797,  825,  854,  885,  915,  948,  974,  1000,
    1035, 1072, 1109, 1148, 1188, 1230, 1273, 1318, 1365, 1413, 1462, 1514, 1567,
    1598, 1622, 1655, 1679, 1713, 1738, 1773, 1799, 1835, 1862, 1899, 1928, 1966,
    1999, 2035, 2065, 2107, 2181, 2257, 2291, 2336, 2418, 2503, 2541};

const std::array<int, kDcsCount> kDcsCodes{
    023,  025,  026,  031,  032,  036,  043,  047,  051,  053,  054,  065,  071,  072,  073,
    074,  0114, 0115, 0116, 0122, 0125, 0131, 0132, 0134, 0143, 0145, 0152, 0155, 0156, 0162,
    0165, 0172, 0174, 0205, 0212, 0223, 0225, 0226, 0243, 0244, 0245, 0246, 0251, 0252, 0255,
    0261, 0263, 0265, 0266, 0271, 0274, 0306, 0311, 0315, 0325, 0331, 0332, 0343, 0346, 0351,
    0356, 0364, 0365, 0371, 0411, 0412, 0413, 0423, 0431, 0432, 0445, 0446, 0452, 0454, 0455,
    0462, 0464, 0465, 0466, 0503, 0506, 0516, 0523, 0526, 0532, 0546, 0565, 0606, 0612, 0624,
    0627, 0631, 0632, 0645, 0654, 0662, 0664, 0703, 0712, 0723, 0731, 0732, 0734, 0743, 0754};

namespace {

QString TenthsText(int tenths) {
    const QString digits = QString::number(tenths);
    return digits.left(digits.size() - 1) + u'.' + digits.right(1);
}

QString DcsText(int code, QChar polarity) {
    return u'D' + QString::number(code, 8).rightJustified(3, u'0') + polarity;
}

const QHash<QString, int>& PositionIndex() {
    static const QHash<QString, int> index = [] {
        QHash<QString, int> h;
        for (int p = 1; p < kToneListSize; ++p)
            h.insert(ToneListText(p, Chinese), p);
        return h;
    }();
    return index;
}

int DigitValue(QChar c) {
    return (c >= u'0' && c <= u'9') ? c.unicode() - u'0' : 0;
}

} // namespace

QString ToneListText(int position, int language) {
    if (position == 0)
        return kToneOff.text(language);
    if (position >= 1 && position < kFirstDcsNormal)
        return TenthsText(kCtcssTenths[position - 1]);
    if (position >= kFirstDcsNormal && position < kFirstDcsInverted)
        return DcsText(kDcsCodes[position - kFirstDcsNormal], u'N');
    if (position >= kFirstDcsInverted && position < kToneListSize)
        return DcsText(kDcsCodes[position - kFirstDcsInverted], u'I');
    return QString();
}

bool IsToneOffText(const QString& text) {
    return kToneOff.matches(text);
}

int ToneListPosition(const QString& text) {
    if (IsToneOffText(text))
        return 0;
    return PositionIndex().value(text, kToneNotListed);
}

quint16 ToneWordFromText(const QString& text) {
    if (text.isEmpty() || IsToneOffText(text))
        return kNoToneWord;
    if (text.startsWith(u'D') && (text.endsWith(u'N') || text.endsWith(u'I'))) {
        // Three code digits at characters 2 to 4, cut to the nine bits of the word.
        const auto at = [&](int i) { return i < text.size() ? text[i] : QChar(u'0'); };
        const int code =
            (64 * DigitValue(at(1)) + 8 * DigitValue(at(2)) + DigitValue(at(3))) & 0x1FF;
        return static_cast<quint16>((text.endsWith(u'N') ? 0x2800 : 0xA800) + code);
    }
    if (!IsNumeric(text))
        return kNoToneWord;
    // CTCSS: the value in tenths of a hertz, whatever its number of digits.
    const double tenths = std::round(LeadingNumber(text) * 10.0);
    if (tenths < 0)
        return 0;
    if (tenths >= kNoToneWord)
        return kNoToneWord - 1;
    return static_cast<quint16>(tenths);
}

QString ToneTextFromWord(quint16 word) {
    const int top = word >> 12;
    if (top == 0x2 || top == 0xA) {
        const QString octal = QString::number(word & 0x0FFF, 8);
        return u'D' + octal.right(3) + (top == 0x2 ? u'N' : u'I');
    }
    return TenthsText(word);
}

} // namespace tr640
