#pragma once

// The main window on the preference files of a directory: they are read before the window
// opens, a write check is remembered when it is set, the other preferences when the window
// closes.

#include "ui/main/Form1.h"

#include <QString>
#include <memory>

namespace tr640 {

// `directory` empty: DefaultPreferencesDirectory(). `options` gives what is not read from files.
std::unique_ptr<Form1> OpenMainWindow(const QString& directory = QString(),
                                      Form1::Options options = {});

} // namespace tr640
