#pragma once

#include "ui/dialogs/SettingsDialog.h"

#include <QPixmap>

class QComboBox;
class QLabel;

namespace tr640 {

// Key assignment: the functions of the side keys PF1 and PF2.
class Form6 : public SettingsDialog {
    Q_OBJECT
public:
    Form6(SharedState& state, QWidget* parent);

    void refreshFromStore() override;

    static constexpr int kKeyFunctions = 12;
    // Shown for a stored value outside the list: "OFF" / "None".
    static constexpr int kFallbackFunction = 1;

    // Which side view Image1 shows: 1 (PF1) or 2 (PF2).
    int shownPicture() const { return shownPicture_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void load();
    void commit();
    void showPicture(int key);

    SharedState& state_;
    QComboBox* combo1_ = nullptr;
    QComboBox* combo2_ = nullptr;
    QLabel* image1_ = nullptr;
    QLabel* picture1_ = nullptr;
    QLabel* picture2_ = nullptr;
    int shownPicture_ = 1;
};

} // namespace tr640
