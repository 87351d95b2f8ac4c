#pragma once

// Names of the codeplug's fields as the user reads them, in both languages, and the texts of
// the six function settings' values: shared by the change list and the channel sheet.

#include "codeplug/BiText.h"
#include "codeplug/EditorState.h"

#include <QString>
#include <array>
#include <span>

namespace tr640 {

inline constexpr BiText kBandLabel{"频段", "Band"};
inline constexpr BiText kMessageLineLabel{"嵌入信息第 %1 行", "Embedded message line %1"};

// Channel columns 0 to 8.
inline constexpr std::array<BiText, kGridColumns> kChannelColumnLabels{{
    {"信道", "CH"},
    {"接收频率", "RX frequency"},
    {"接收亚音频", "RX tone"},
    {"发射频率", "TX frequency"},
    {"发射亚音频", "TX tone"},
    {"功率", "Power"},
    {"禁发", "BCLO"},
    {"宽窄带", "Bandwidth"},
    {"扫描添加", "Scan Add"},
}};

// The six function settings of the main window, in the order of its panel.
struct FunctionSetting {
    const char* field;
    BiText label;
    int offset; // image offset
    int EditorState::*position;
    QString (*text)(int position, int language); // empty for a position outside the list
};
std::span<const FunctionSetting> FunctionSettings();

} // namespace tr640
