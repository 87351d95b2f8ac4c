#include "codeplug/ListTexts.h"

namespace tr640 {

namespace {
QString SecondsText(int seconds, int language) {
    return QString::number(seconds) + QString::fromUtf8(language == English ? " S" : " 秒");
}
} // namespace

const std::array<BiText, 2>& FlagList(int column) {
    switch (column) {
    case 6:
        return kBcloList;
    case 7:
        return kBandwidthList;
    case 8:
        return kScanAddList;
    default:
        return kPowerList;
    }
}

QString FlagListText(int column, int position, int language) {
    const auto& list = FlagList(column);
    if (position < 0 || position >= static_cast<int>(list.size()))
        return QString();
    return list[position].text(language);
}

QString TimeOutTimerItem(int position, int language) {
    return SecondsText(15 * (position + 1), language);
}

QString TotPreAlertItem(int position, int language) {
    return position == 0 ? kTotPreAlertOff.text(language) : SecondsText(position, language);
}

QString SquelchLevelItem(int position, int language) {
    return language == English ? QStringLiteral("Level ") + QString::number(position)
                               : QString::number(position) + QString::fromUtf8(" 级");
}

} // namespace tr640
