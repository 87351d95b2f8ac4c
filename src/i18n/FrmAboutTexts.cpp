#include "i18n/TextTable.h"

namespace tr640 {

std::span<const TextEntry> FrmAboutTexts() {
    return {};
}

} // namespace tr640
