#pragma once

#include "ui/dialogs/SettingsDialog.h"

namespace tr640 {

// Debug parameters: the two transmitter power tuning values.
class Form2 : public SettingsDialog {
    Q_OBJECT
public:
    Form2(SharedState& state, QWidget* parent);

    void refreshFromStore() override;

    // The relock from the main window: sliders disabled again.
    void disableSliders();

Q_SIGNALS:
    // The unlock gesture succeeded: CalibrationWrite is 1 and the sliders are enabled.
    void calibrationUnlocked();

private:
    SharedState& state_;
};

} // namespace tr640
