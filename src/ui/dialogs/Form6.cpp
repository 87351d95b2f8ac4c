#include "ui/dialogs/Form6.h"

#include "app/SharedState.h"

namespace tr640 {

Form6::Form6(SharedState& state, QWidget* parent)
    : SettingsDialog(QStringLiteral("Form6"), parent), state_(state) {}

void Form6::refreshFromStore() {}

} // namespace tr640
