#pragma once

#include "ui/dialogs/SettingsDialog.h"

namespace tr640 {

class FilteredLineEdit;

// Embedded message: the two message lines.
class Form7 : public SettingsDialog {
    Q_OBJECT
public:
    Form7(SharedState& state, QWidget* parent);

    void refreshFromStore() override;

    // Characters a line takes while typing; a longer pasted text is kept (the codec stores the
    // first 32 bytes).
    static constexpr int kLineLimit = 32;

private:
    void load();
    void commit();

    SharedState& state_;
    FilteredLineEdit* text1_ = nullptr;
    FilteredLineEdit* text2_ = nullptr;
};

} // namespace tr640
