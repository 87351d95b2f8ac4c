#include "codeplug/Numbers.h"

#include <cmath>
#include <limits>

namespace tr640 {

namespace {
struct Scan {
    double value = 0;
    qsizetype digits = 0; // digits consumed, both sides of the point
    qsizetype end = 0;    // index after the number
};

Scan ScanNumber(QStringView t) {
    Scan s;
    qsizetype i = 0;
    while (i < t.size() && t[i].isSpace())
        ++i;
    bool negative = false;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) {
        negative = t[i] == u'-';
        ++i;
    }
    QString number;
    while (i < t.size() && t[i] >= u'0' && t[i] <= u'9') {
        number.append(t[i++]);
        ++s.digits;
    }
    if (i < t.size() && t[i] == u'.') {
        number.append(u'.');
        ++i;
        while (i < t.size() && t[i] >= u'0' && t[i] <= u'9') {
            number.append(t[i++]);
            ++s.digits;
        }
    }
    if (s.digits > 0) {
        s.value = number.toDouble();
        if (negative)
            s.value = -s.value;
    }
    s.end = i;
    return s;
}
} // namespace

double LeadingNumber(QStringView text) {
    return ScanNumber(text).value;
}

bool IsNumeric(QStringView text) {
    const Scan s = ScanNumber(text);
    if (s.digits == 0)
        return false;
    for (qsizetype i = s.end; i < text.size(); ++i)
        if (!text[i].isSpace())
            return false;
    return true;
}

int WholeNumber(QStringView text) {
    const double v = std::trunc(LeadingNumber(text));
    if (v >= std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (v <= std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}

QString FormatFixed(double value, int decimals) {
    return QString::number(value, 'f', decimals);
}

} // namespace tr640
