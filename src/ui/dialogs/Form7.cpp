#include "ui/dialogs/Form7.h"

#include "app/SharedState.h"

namespace tr640 {

Form7::Form7(SharedState& state, QWidget* parent)
    : SettingsDialog(QStringLiteral("Form7"), parent), state_(state) {}

void Form7::refreshFromStore() {}

} // namespace tr640
