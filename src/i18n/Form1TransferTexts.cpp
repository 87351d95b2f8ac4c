// Texts of the main window's transfer safety items: the write checks, the backup and trace
// items of the Help menu, and the Cancel button beside the progress bar.

#include "i18n/TextTable.h"

namespace tr640 {

namespace {

using K = TextKind;

const TextEntry kTexts[] = {
    {"mnubackupfirst",
     K::Caption,
     0,
     {"写频前先备份对讲机(&B)", "Back up radio before writing(&B)"}},
    {"mnuverify", K::Caption, 0, {"写频后校验(&V)", "Verify after writing(&V)"}},
    {"mnuopenbackups", K::Caption, 0, {"打开备份文件夹(&F)", "Open backup folder(&F)"}},
    {"mnuopentrace", K::Caption, 0, {"打开最近的串口记录(&T)", "Open last serial trace(&T)"}},
    {"cmdCancel", K::Caption, 0, {"取消", "Cancel"}},
};

} // namespace

std::span<const TextEntry> Form1TransferTexts() {
    return kTexts;
}

} // namespace tr640
