// Texts of the optional functions dialog. The DTMF frame, the code box labels and the memory
// grid have one text in both languages and are not written.

#include "i18n/TextTable.h"

namespace tr640 {

namespace {

using K = TextKind;

const TextEntry kTexts[] = {
    {"", K::WindowCaption, 0, {"可选功能", "Optional Function"}},
    {"Frame2", K::Caption, 0, {"扫描", "Scan"}},
    {"Check3", K::Caption, 0, {"取消操作", "Cancel Operation"}},
    {"Check4", K::Caption, 0, {"接收时禁止VOX", "VOX Inhibit On Reveive"}},
    {"Label8", K::Caption, 0, {"VOX功能", "VOX Function"}},
    {"Label10", K::Caption, 0, {"VOX增益电平", "VOX Gain Level"}},
    {"Label9", K::Caption, 0, {"VOX延迟时间", "VOX Delay time[S]"}},
    {"Label7", K::Caption, 0, {"VOX可进行音调", "VOX Proceed Tone"}},
    {"Label4", K::Caption, 0, {"PTT ID", "PTT ID"}},
    {"Label11", K::Caption, 0, {"复制", "Duplicate"}},
    {"Label14", K::Caption, 0, {"优先", "Priority"}},
    {"Label15", K::Caption, 0, {"优先信道", "Priority Channel"}},
    {"Label17", K::Caption, 0, {"回扫时间A[秒]", "Look Back Time A[S]"}},
    {"Label16", K::Caption, 0, {"回扫时间B[秒]", "Look Back Time B[S]"}},
    {"Label18", K::Caption, 0, {"返回信道", "Revert channel"}},
    {"Label19", K::Caption, 0, {"扫描接收恢复延时时间(秒)", "Dropout delay time[S]"}},
    {"Label20", K::Caption, 0, {"扫描发射恢复延时时间(秒)", "TX Dwell time[S]"}},
    {"Command1", K::Caption, 0, {"确定", "OK"}},
    {"Command2", K::Caption, 0, {"取消", "Cancel"}},
    {"Combo4", K::ListItem, 0, {"发射开始", "Launch Start"}},
    {"Combo4", K::ListItem, 1, {"发射结束", "Launch End"}},
    {"Combo4", K::ListItem, 2, {"两者", "Both"}},
    {"Combo6", K::ListItem, 0, {"禁止", "Off"}},
    {"Combo6", K::ListItem, 1, {"打开", "On"}},
    {"Combo7", K::ListItem, 0, {"关闭", "Off"}},
    {"Combo9", K::ListItem, 0, {"禁止", "Off"}},
    {"Combo9", K::ListItem, 1, {"打开", "On"}},
    {"Combo10", K::ListItem, 0, {"禁止", "Off"}},
    {"Combo10", K::ListItem, 1, {"打开", "On"}},
    {"Combo11", K::ListItem, 0, {"无", "No"}},
    {"Combo11", K::ListItem, 1, {"固定", "Fixed"}},
    {"Combo11", K::ListItem, 2, {"选定", "Selected"}},
    {"Combo13", K::ListItem, 0, {"空", "Empty"}},
    {"Combo14", K::ListItem, 0, {"空", "Empty"}},
    {"Combo15", K::ListItem, 0, {"选定", "Selected"}},
    {"Combo15", K::ListItem, 1, {"选定+当前", "Selected+Talk Back"}},
    {"Combo15", K::ListItem, 2, {"优先", "priority"}},
    {"Combo15", K::ListItem, 3, {"优先+当前", "priority+Talk Back"}},
};

} // namespace

std::span<const TextEntry> Form5Texts() {
    return kTexts;
}

} // namespace tr640
