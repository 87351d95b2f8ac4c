// Texts of the main window's Edit menu and CSV items.

#include "i18n/TextTable.h"

namespace tr640 {

namespace {

using K = TextKind;

const TextEntry kTexts[] = {
    {"mnuImportCsv", K::Caption, 0, {"导入 CSV(&I)...", "Import CSV(&I)..."}},
    {"mnuExportCsv", K::Caption, 0, {"导出 CSV(&E)...", "Export CSV(&E)..."}},
    {"mnuEdit", K::Caption, 0, {"编辑(&E)", "Edit(&E)"}},
    {"mnuCut", K::Caption, 0, {"剪切(&T)", "Cu&t"}},
    {"mnuCopy", K::Caption, 0, {"复制(&C)", "&Copy"}},
    {"mnuPaste", K::Caption, 0, {"粘贴(&P)", "&Paste"}},
    {"mnuDeleteChannels", K::Caption, 0, {"删除信道(&D)", "&Delete Channels"}},
    {"mnuSelectAll", K::Caption, 0, {"全选(&A)", "Select &All"}},
};

} // namespace

std::span<const TextEntry> Form1EditTexts() {
    return kTexts;
}

} // namespace tr640
