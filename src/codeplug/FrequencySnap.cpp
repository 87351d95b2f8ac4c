#include "codeplug/FrequencySnap.h"

#include "codeplug/Numbers.h"

namespace tr640 {

double SnapFrequency(const QString& s) {
    // The part below 100 kHz in units of 10 Hz: the last four digits.
    int n = WholeNumber(QStringView(s).right(4));
    const int a = n % 625; // above the 6.25 kHz raster
    const int b = n % 500; // above the 5 kHz raster
    if (a == 0 || b == 0)
        return LeadingNumber(s);
    n -= a > b ? b : a;
    return LeadingNumber(
        QString(s.left(s.size() - 4) + QString::number(n).rightJustified(4, u'0')));
}

QString ChannelFrequencyText(double mhz) {
    return FormatFixed(mhz, 5);
}

} // namespace tr640
