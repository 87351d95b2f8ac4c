#include "i18n/TextTable.h"

namespace tr640 {

std::span<const TextEntry> Form6Texts() {
    return {};
}

} // namespace tr640
