#pragma once

#include <QIcon>
#include <QString>

namespace tr640 {

// The pictures of the toolbar buttons, drawn for each key ("new", "open", "save", "read",
// "write", "TAnMa", "Anma").
QIcon ToolbarIcon(const QString& key);

} // namespace tr640
