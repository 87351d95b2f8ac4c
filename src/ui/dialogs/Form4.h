#pragma once

#include "ui/dialogs/SettingsDialog.h"

namespace tr640 {

// Test frequencies: sixteen receive and transmit frequencies.
class Form4 : public SettingsDialog {
    Q_OBJECT
public:
    Form4(SharedState& state, QWidget* parent);

    void refreshFromStore() override;

private:
    SharedState& state_;
};

} // namespace tr640
