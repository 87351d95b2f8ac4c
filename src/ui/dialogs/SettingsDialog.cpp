#include "ui/dialogs/SettingsDialog.h"

#include <QCloseEvent>
#include <QPushButton>

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

QPushButton* SettingsDialog::makeButton(const char* name, const QString& text) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

} // namespace tr640
