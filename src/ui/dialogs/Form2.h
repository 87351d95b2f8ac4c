#pragma once

#include "ui/dialogs/SettingsDialog.h"

#include <optional>

class QLabel;
class QSlider;

namespace tr640 {

class ClickLabel;

// Debug parameters: the two transmitter power tuning values.
class Form2 : public SettingsDialog {
    Q_OBJECT
public:
    Form2(SharedState& state, QWidget* parent);

    void refreshFromStore() override;

    // The relock from the main window: sliders disabled again.
    void disableSliders();

    static constexpr int kPowerMaximum = 63;

Q_SIGNALS:
    // The unlock gesture succeeded: CalibrationWrite is 1 and the sliders are enabled.
    void calibrationUnlocked();

private:
    // One power value: its slider, its read-out, and a stored value the slider cannot show.
    struct Power {
        QSlider* slider = nullptr;
        QLabel* readOut = nullptr;
        // Set while the slider stands at its end for a stored value beyond 0..63 that the
        // user has not moved away from: OK keeps that value.
        std::optional<int> unshown;
    };

    QWidget* buildFrame(const char* frame, const QString& caption, const char* low,
                        const char* high, const char* slider, const char* readOut, Power& power);
    void load();
    void showPower(Power& power, int value);
    int valueOf(const Power& power) const;
    void commit();
    void onGestureClick(bool* ownFlag);
    void setSlidersEnabled(bool enabled);

    SharedState& state_;
    Power high_;
    Power low_;
    ClickLabel* label3_ = nullptr;
    ClickLabel* label6_ = nullptr;
};

} // namespace tr640
