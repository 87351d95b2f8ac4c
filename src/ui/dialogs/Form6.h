#pragma once

#include "ui/dialogs/SettingsDialog.h"

namespace tr640 {

// Key assignment: the functions of the side keys PF1 and PF2.
class Form6 : public SettingsDialog {
    Q_OBJECT
public:
    Form6(SharedState& state, QWidget* parent);

    void refreshFromStore() override;

private:
    SharedState& state_;
};

} // namespace tr640
