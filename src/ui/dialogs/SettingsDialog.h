#pragma once

#include <QDialog>

#include <functional>

class QHBoxLayout;
class QPushButton;

namespace tr640 {

class CodeplugDocument;
struct SharedState;

// Base of the settings dialogs and the About box: a non-modal window that is created once,
// hidden, and afterwards only shown and hidden. Closing it from its title bar hides it.
class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    SettingsDialog(const QString& objectName, QWidget* parent);

    // Shows the dialog non-modally and brings it to the front.
    void showDialog();

    // After a decode: every control that edits a decoded field shows the stored value,
    // whatever the user had left in it.
    virtual void refreshFromStore() {}

    // After the texts changed (a language switch): the window grows until every control has
    // the room its new text needs; it never shrinks below the size the user gave it.
    void fitTexts();

protected:
    void closeEvent(QCloseEvent* event) override;

    // The dialog edits part of the codeplug document's store: OK commits into it, and the controls
    // follow a store replaced from outside (a decode, an undo of one).
    void editStoreOf(CodeplugDocument& document);
    // Runs the dialog's commit into the store (OK); the unsaved mark follows.
    void commitIntoStore(const std::function<void()>& commit);

    // A push button that Enter in a text box does not press: the dialogs have no default button.
    QPushButton* makeButton(const char* name, const QString& text);

    // The row of OK (Command1: commit, then hide) and Cancel (Command2: `cancel`, then hide).
    QHBoxLayout* okCancelRow(std::function<void()> commit, std::function<void()> cancel = {},
                             bool centred = false);

private:
    CodeplugDocument* document_ = nullptr;
};

} // namespace tr640
