#include "ui/dialogs/SettingsDialog.h"

#include <QCloseEvent>

namespace tr640 {

SettingsDialog::SettingsDialog(const QString& objectName, QWidget* parent) : QDialog(parent) {
    setObjectName(objectName);
    setModal(false);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void SettingsDialog::showDialog() {
    show();
    raise();
    activateWindow();
}

void SettingsDialog::closeEvent(QCloseEvent* event) {
    // The title-bar close hides the dialog; it lives until the application ends.
    event->ignore();
    hide();
}

} // namespace tr640
