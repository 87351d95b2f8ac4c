#pragma once

#include "ui/dialogs/InputRules.h"

#include <QClipboard>
#include <QLineEdit>

namespace tr640 {

// A text box that filters every character before it arrives: typed keys, input-method text,
// clipboard pastes (shortcut, context menu, middle button). Refused characters vanish
// silently; a paste with a refused character is refused whole. Drops are not accepted.
class FilteredLineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit FilteredLineEdit(InputRules rules, QWidget* parent = nullptr);

    const InputRules& rules() const { return rules_; }

    // Inserts the clipboard's text through the rules, replacing the selection.
    void pasteFiltered(QClipboard::Mode mode = QClipboard::Clipboard);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // One typed character: mapped, limited, checked, inserted.
    void typeCharacter(QChar c);
    bool typedLimitReached() const;
    // The text after `inserted` replaces the selection (or goes in at the cursor).
    QString textWith(const QString& inserted) const;
    bool acceptable(const QString& text) const;

    InputRules rules_;
};

} // namespace tr640
