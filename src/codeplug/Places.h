#pragma once

// Where the program keeps its own files on Windows: the preferences, the kept codeplugs and
// the traces live in the folder of the executable, unless this user may not write there (an
// install under Program Files); then in %APPDATA%\tr640, so that nothing is lost silently.

#include <QString>

namespace tr640 {

// `preferred` when a file can be created in it, otherwise `fallback`.
QString FolderTakingFiles(const QString& preferred, const QString& fallback);

// %APPDATA%\tr640 (without APPDATA, the user's data folder), whether it exists or not.
QString UserFolder();

// The folder of the executable or, when that takes no files, UserFolder().
QString ProgramOrUserFolder();

} // namespace tr640
