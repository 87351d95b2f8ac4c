#pragma once

// Texts of the lists whose positions the codeplug stores: the list-valued grid columns and the
// six function settings of the main window. Both the codec (which writes cell texts) and the
// windows (which fill their lists) take them from here.

#include "codeplug/BiText.h"

#include <QString>
#include <array>

namespace tr640 {

// Grid columns 5 to 8: Power, BCLO, W/N, Scan Add; two entries each.
inline constexpr std::array<BiText, 2> kPowerList{{{"低", "Low"}, {"高", "High"}}};
inline constexpr std::array<BiText, 2> kBcloList{{{"关闭", "Off"}, {"载波", "Carrier"}}};
inline constexpr std::array<BiText, 2> kBandwidthList{{{"窄带", "Narrow"}, {"宽带", "Wide"}}};
inline constexpr std::array<BiText, 2> kScanAddList{{{"无", "No"}, {"有", "Yes"}}};

// Entry 0 of the tone list.
inline constexpr BiText kToneOff{"关闭", "Off"};

// The list of a flag column (5 to 8); column 5 for anything else.
const std::array<BiText, 2>& FlagList(int column);
QString FlagListText(int column, int position, int language);

// Function settings of the main window.
inline constexpr std::array<BiText, 3> kVoiceNoticeList{
    {{"关", "Off"}, {"中文", "Chinese"}, {"英文", "English"}}};
inline constexpr std::array<BiText, 2> kBatterySaveList{{{"禁止", "Off"}, {"使能", "On"}}};
inline constexpr std::array<BiText, 2> kBeepList{{{"禁止", "Off"}, {"使能", "On"}}};
inline constexpr BiText kTotPreAlertOff{"关闭", "Off"};

inline constexpr int kTimeOutTimerCount = 40; // 15 s .. 600 s
inline constexpr int kTotPreAlertCount = 11;  // off, 1 s .. 10 s
inline constexpr int kSquelchLevelCount = 10; // level 0 .. 9

// Item i of the generated lists: Combo3 (15 x (i + 1) seconds), Combo4 (off, then i seconds),
// Combo9 (level i).
QString TimeOutTimerItem(int position, int language);
QString TotPreAlertItem(int position, int language);
QString SquelchLevelItem(int position, int language);

} // namespace tr640
