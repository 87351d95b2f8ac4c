#include "i18n/TextTable.h"

namespace tr640 {

std::span<const TextEntry> Form1TransferTexts() {
    return {};
}

} // namespace tr640
