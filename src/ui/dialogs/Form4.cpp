#include "ui/dialogs/Form4.h"

#include "app/SharedState.h"

namespace tr640 {

Form4::Form4(SharedState& state, QWidget* parent)
    : SettingsDialog(QStringLiteral("Form4"), parent), state_(state) {}

void Form4::refreshFromStore() {}

} // namespace tr640
