#include "ui/dialogs/Form2.h"

#include "app/SharedState.h"

namespace tr640 {

Form2::Form2(SharedState& state, QWidget* parent)
    : SettingsDialog(QStringLiteral("Form2"), parent), state_(state) {}

void Form2::refreshFromStore() {}

void Form2::disableSliders() {}

} // namespace tr640
