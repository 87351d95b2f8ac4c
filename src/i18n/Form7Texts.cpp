// Texts of the embedded message dialog.

#include "i18n/TextTable.h"

namespace tr640 {

namespace {

using K = TextKind;

const TextEntry kTexts[] = {
    {"", K::WindowCaption, 0, {"嵌入信息", "Embedded Information"}},
    {"Command1", K::Caption, 0, {"确定", "OK"}},
    {"Command2", K::Caption, 0, {"取消", "Cancel"}},
};

} // namespace

std::span<const TextEntry> Form7Texts() {
    return kTexts;
}

} // namespace tr640
