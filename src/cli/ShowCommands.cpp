// show and resave: codeplug files without a radio.

#include "cli/Commands.h"

namespace tr640::cli {

int RunShow(const QStringList&) {
    return UsageError(QStringLiteral("show is not available yet"));
}

int RunResave(const QStringList&) {
    return UsageError(QStringLiteral("resave is not available yet"));
}

} // namespace tr640::cli
