#pragma once

#include "ui/dialogs/SettingsDialog.h"

namespace tr640 {

// Optional functions: scan, VOX, DTMF and PTT ID settings.
class Form5 : public SettingsDialog {
    Q_OBJECT
public:
    Form5(SharedState& state, QWidget* parent);

    void refreshFromStore() override;

private:
    SharedState& state_;
};

} // namespace tr640
