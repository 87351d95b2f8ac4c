// read and write: transfers with a radio.

#include "cli/Commands.h"

namespace tr640::cli {

int RunRead(const QStringList&) {
    return UsageError(QStringLiteral("read is not available yet"));
}

int RunWrite(const QStringList&) {
    return UsageError(QStringLiteral("write is not available yet"));
}

} // namespace tr640::cli
