#include "codeplug/BandTable.h"

#include "codeplug/Numbers.h"

namespace tr640 {

int BandIndexFromCode(quint8 code) {
    for (int i = 0; i < kBandCount; ++i)
        if (kBands[i].code == code)
            return i;
    return -1;
}

const BandInfo& Band(int position) {
    return kBands[(position >= 0 && position < kBandCount) ? position : 0];
}

int BandLowFromText(const QString& text) {
    return WholeNumber(QStringView(text).mid(0, 3));
}

int BandHighFromText(const QString& text) {
    return WholeNumber(QStringView(text).mid(4, 3));
}

} // namespace tr640
