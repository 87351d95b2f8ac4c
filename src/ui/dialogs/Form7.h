#pragma once

#include "ui/dialogs/SettingsDialog.h"

namespace tr640 {

// Embedded message: the two message lines.
class Form7 : public SettingsDialog {
    Q_OBJECT
public:
    Form7(SharedState& state, QWidget* parent);

    void refreshFromStore() override;

private:
    SharedState& state_;
};

} // namespace tr640
