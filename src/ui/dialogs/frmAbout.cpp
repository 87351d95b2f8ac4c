#include "ui/dialogs/frmAbout.h"

namespace tr640 {

frmAbout::frmAbout(QWidget* parent) : SettingsDialog(QStringLiteral("frmAbout"), parent) {}

} // namespace tr640
