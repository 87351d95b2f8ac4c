// Texts of the debug parameters dialog.

#include "i18n/TextTable.h"

namespace tr640 {

namespace {

using K = TextKind;

const TextEntry kTexts[] = {
    {"", K::WindowCaption, 0, {"调试参数", "Debug Parameters"}},
    {"Frame1", K::Caption, 0, {"发射高功率", "TX-High Power"}},
    {"Frame2", K::Caption, 0, {"发射低功率", "TX-Low Power"}},
    {"Label3", K::Caption, 0, {"最小", "Low"}},
    {"Label6", K::Caption, 0, {"最小", "Low"}},
    {"Label7", K::Caption, 0, {"最大", "High"}},
    {"Label8", K::Caption, 0, {"最大", "High"}},
    {"Command1", K::Caption, 0, {"确定", "OK"}},
};

} // namespace

std::span<const TextEntry> Form2Texts() {
    return kTexts;
}

} // namespace tr640
