#pragma once

#include "codeplug/CodeplugFile.h"

#include <QString>

namespace tr640 {

// Why a file could not be read or written, in the user's language; with the system's own
// description appended where it adds something.
QString FileReasonText(const FileStatus& status, int language, bool withDetail = true);

} // namespace tr640
