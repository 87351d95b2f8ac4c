#pragma once

#include "ui/dialogs/SettingsDialog.h"

namespace tr640 {

// The About box: title, edition, issue and version, and a link to the project's site.
class frmAbout : public SettingsDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent);
};

} // namespace tr640
