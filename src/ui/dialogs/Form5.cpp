#include "ui/dialogs/Form5.h"

#include "app/SharedState.h"

namespace tr640 {

Form5::Form5(SharedState& state, QWidget* parent)
    : SettingsDialog(QStringLiteral("Form5"), parent), state_(state) {}

void Form5::refreshFromStore() {}

} // namespace tr640
