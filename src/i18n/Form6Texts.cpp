// Texts of the key assignment dialog.

#include "i18n/TextTable.h"

#include <array>

namespace tr640 {

namespace {

using K = TextKind;

// The key function list, in list order; both lists carry it.
constexpr std::array<BiText, 12> kKeyFunctions{{
    {"自动拨号", "Autodial"},
    {"OFF", "None"},
    {"按键锁定", "Keys lock"},
    {"按键锁定及备份", "Key lock with Backup"},
    {"监听", "Monitor"},
    {"监听瞬时", "Monitor Monentary"},
    {"扫描", "Scan"},
    {"扫描+暂时删除", "Scan + temporary Delete"},
    {"照明灯开关", "Scrambler"},
    {"取消静噪", "Squelch Off"},
    {"瞬时取消静噪", "Squelch Off Momentary"},
    {"暂时删除", "temporary Delete"},
}};

constexpr auto BuildTexts() {
    std::array<TextEntry, 3 + 2 * kKeyFunctions.size()> t{};
    t[0] = {"", K::WindowCaption, 0, {"键设定", "Keys Set"}};
    t[1] = {"Command1", K::Caption, 0, {"确定", "OK"}};
    t[2] = {"Command2", K::Caption, 0, {"取消", "Cancel"}};
    std::size_t n = 3;
    for (const char* list : {"Combo1", "Combo2"})
        for (std::size_t i = 0; i < kKeyFunctions.size(); ++i)
            t[n++] = {list, K::ListItem, int(i), kKeyFunctions[i]};
    return t;
}

constexpr auto kTexts = BuildTexts();

} // namespace

std::span<const TextEntry> Form6Texts() {
    return kTexts;
}

} // namespace tr640
