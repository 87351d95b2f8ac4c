#include "i18n/TextTable.h"

#include <array>
#include <cstring>

namespace tr640 {

std::span<const WindowTexts> AllWindowTexts() {
    static const std::array<WindowTexts, 11> windows{{
        {"Form1", Form1Texts()},
        {"Form1", Form1EditTexts()},
        {"Form1", Form1TransferTexts()},
        {"Form2", Form2Texts()},
        {"Form4", Form4Texts()},
        {"Form5", Form5Texts()},
        {"Form6", Form6Texts()},
        {"Form7", Form7Texts()},
        {"frmAbout", FrmAboutTexts()},
        {"Form1", Form1DealerTexts()},
        {"frmBatch", FrmBatchTexts()},
    }};
    return windows;
}

QString TableText(std::span<const TextEntry> table, const char* control, int language, int index) {
    for (const TextEntry& e : table)
        if (std::strcmp(e.control, control) == 0 && e.index == index && !e.generate)
            return e.text.text(language);
    return QString();
}

} // namespace tr640
