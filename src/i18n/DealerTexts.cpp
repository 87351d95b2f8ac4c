// Texts of the dealer features: the channel sheet and batch items of the main window, the
// write preview check, and the batch programming window.

#include "i18n/TextTable.h"

namespace tr640 {

namespace {

using K = TextKind;

const TextEntry kForm1Texts[] = {
    {"mnuPrintSheet", K::Caption, 0, {"打印信道表(&P)...", "Print channel sheet(&P)..."}},
    {"mnuExportSheetPdf",
     K::Caption,
     0,
     {"导出信道表为 PDF(&D)...", "Export channel sheet as PDF(&D)..."}},
    {"mnupreview", K::Caption, 0, {"写频前预览改动(&C)", "Preview changes before writing(&C)"}},
    {"mnubatch", K::Caption, 0, {"批量写频(&M)...", "Write to several radios(&M)..."}},
};

const TextEntry kBatchTexts[] = {
    {"", K::WindowCaption, 0, {"批量写频", "Write to several radios"}},
    {"chkOwnId", K::Caption, 0, {"每台对讲机使用不同的 ID", "Give each radio its own ID"}},
    {"lblStartId", K::Caption, 0, {"起始 ID：", "Start ID:"}},
    {"cmdWriteNext", K::Caption, 0, {"写下一台(&N)", "Write next radio(&N)"}},
    {"cmdSaveLog", K::Caption, 0, {"保存记录(&S)...", "Save log(&S)..."}},
    {"cmdClose", K::Caption, 0, {"关闭", "Close"}},
};

} // namespace

std::span<const TextEntry> Form1DealerTexts() {
    return kForm1Texts;
}

std::span<const TextEntry> FrmBatchTexts() {
    return kBatchTexts;
}

} // namespace tr640
