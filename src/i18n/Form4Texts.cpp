// Texts of the test frequency dialog.

#include "i18n/TextTable.h"

namespace tr640 {

namespace {

using K = TextKind;

const TextEntry kTexts[] = {
    {"", K::WindowCaption, 0, {"测试频率", "Test Frequency"}},
    {"mfgrid1", K::HeaderCell, 0, {"频道", "Channel"}},
    {"mfgrid1", K::HeaderCell, 1, {"接收频率", "RX Frequency"}},
    {"mfgrid1", K::HeaderCell, 2, {"发射频率", "TX Frequency"}},
    {"Command1", K::Caption, 0, {"确定", "OK"}},
    {"Command2", K::Caption, 0, {"取消", "Cancel"}},
};

} // namespace

std::span<const TextEntry> Form4Texts() {
    return kTexts;
}

} // namespace tr640
