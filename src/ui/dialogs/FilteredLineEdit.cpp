#include "ui/dialogs/FilteredLineEdit.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include <memory>

namespace tr640 {

namespace {

bool IsControlCharacter(QChar c) {
    return c.unicode() < 0x20 || c.unicode() == 0x7F;
}

// Keys that keep their usual role whatever the rules: editing, leaving and closing.
bool IsPassThroughKey(int key) {
    switch (key) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return true;
    default:
        return false;
    }
}

} // namespace

FilteredLineEdit::FilteredLineEdit(InputRules rules, QWidget* parent)
    : QLineEdit(parent), rules_(std::move(rules)) {
    setAcceptDrops(false);
}

bool FilteredLineEdit::typedLimitReached() const {
    return rules_.typedLimit >= 0 && !hasSelectedText() && text().size() >= rules_.typedLimit;
}

QString FilteredLineEdit::textWith(const QString& inserted) const {
    QString t = text();
    if (hasSelectedText())
        t.replace(selectionStart(), selectionLength(), inserted);
    else
        t.insert(cursorPosition(), inserted);
    return t;
}

bool FilteredLineEdit::acceptable(const QString& t) const {
    return t.size() <= maxLength() && (!rules_.accept || rules_.accept(t));
}

void FilteredLineEdit::typeCharacter(QChar c) {
    const QChar mapped = rules_.map ? rules_.map(c) : c;
    if (mapped.isNull() || typedLimitReached())
        return;
    const QString one(mapped);
    if (!acceptable(textWith(one)))
        return;
    insert(one);
}

void FilteredLineEdit::pasteFiltered(QClipboard::Mode mode) {
    if (isReadOnly())
        return;
    const QString pasted = QGuiApplication::clipboard()->text(mode);
    QString mapped;
    mapped.reserve(pasted.size());
    for (QChar c : pasted) {
        const QChar m = rules_.map ? rules_.map(c) : c;
        if (m.isNull())
            return;
        mapped.append(m);
    }
    if (mapped.isEmpty() || !acceptable(textWith(mapped)))
        return;
    insert(mapped);
}

void FilteredLineEdit::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        // The paste shortcut is a typed control character: it stops at the limit like any.
        if (!rules_.swallowControlKeys && !typedLimitReached())
            pasteFiltered();
        event->accept();
        return;
    }
    const QString typed = event->text();
    if (IsPassThroughKey(event->key())) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const Qt::KeyboardModifiers mods = event->modifiers();
    // Ctrl without Alt (Ctrl+Alt is AltGr on some keyboards, which types characters).
    const bool controlChord =
        (mods & (Qt::ControlModifier | Qt::MetaModifier)) && !(mods & Qt::AltModifier);
    if (typed.isEmpty() || controlChord || IsControlCharacter(typed.front())) {
        // A chord may still type a character (formatting marks on some systems).
        if (!typed.isEmpty() && !IsControlCharacter(typed.front()) && rules_.map &&
            rules_.map(typed.front()).isNull()) {
            event->accept();
            return;
        }
        // Navigation keys have no text and always work; shortcuts carry a control character.
        const bool shortcut = !typed.isEmpty() || event->matches(QKeySequence::Cut) ||
                              event->matches(QKeySequence::Undo) ||
                              event->matches(QKeySequence::Redo);
        if (shortcut && rules_.swallowControlKeys) {
            event->accept();
            return;
        }
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (isReadOnly()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    for (QChar c : typed)
        typeCharacter(c);
    event->accept();
}

void FilteredLineEdit::inputMethodEvent(QInputMethodEvent* event) {
    const QString commit = event->commitString();
    if (commit.isEmpty()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QString kept;
    qsizetype room = -1;
    if (rules_.typedLimit >= 0) {
        const qsizetype remaining = text().size() - (hasSelectedText() ? selectionLength() : 0);
        room = std::max<qsizetype>(hasSelectedText() ? 1 : 0, rules_.typedLimit - remaining);
    }
    for (QChar c : commit) {
        const QChar m = rules_.map ? rules_.map(c) : c;
        if (m.isNull() || (room >= 0 && kept.size() >= room))
            continue;
        kept.append(m);
    }
    if (!kept.isEmpty() && !acceptable(textWith(kept)))
        kept.clear();
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    filtered.setCommitString(kept, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&filtered);
    event->setAccepted(filtered.isAccepted());
}

void FilteredLineEdit::contextMenuEvent(QContextMenuEvent* event) {
    std::unique_ptr<QMenu> menu(createStandardContextMenu());
    for (QAction* action : menu->actions()) {
        if (action->menu()) {
            // Submenus insert characters past the rules (Unicode control characters).
            menu->removeAction(action);
            continue;
        }
        if (action->objectName() == QLatin1String("edit-paste")) {
            disconnect(action, &QAction::triggered, nullptr, nullptr);
            connect(action, &QAction::triggered, this, [this] { pasteFiltered(); });
        }
    }
    menu->exec(event->globalPos());
}

void FilteredLineEdit::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        // The selection paste of X11 goes through the rules like the clipboard's.
        if (QGuiApplication::clipboard()->supportsSelection())
            pasteFiltered(QClipboard::Selection);
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

} // namespace tr640
