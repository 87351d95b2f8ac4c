#pragma once

// What the dialogs' text boxes accept, typed or pasted.

#include <QChar>
#include <QString>
#include <functional>

namespace tr640 {

struct InputRules {
    // The character a typed or pasted character becomes, or a null QChar to refuse it.
    std::function<QChar(QChar)> map;
    // A typed character is refused when nothing is selected and the box already holds this many
    // characters or more; negative for no limit. Pasted text is not limited by it.
    int typedLimit = -1;
    // Control characters (Ctrl+letter, the clipboard shortcuts) never reach the box. Backspace,
    // Delete, Enter, Escape and Tab keep their usual roles.
    bool swallowControlKeys = false;
    // Whether a whole text may stand in the box after a change; empty accepts every text.
    std::function<bool(const QString&)> accept;
};

// DTMF code characters: a-z become A-Z; 0-9, A-D, "*" and "#" pass. Typed characters stop at
// `limit` (negative: no limit), and so do pasted ones.
InputRules DtmfCodeRules(int limit);

// Message line characters: those with a one-byte code other than 0xFF (the code of an unused
// byte) that can be shown, i.e. printable Latin-1. Typed characters stop at `limit`; a longer
// pasted text is kept.
InputRules MessageLineRules(int limit);

// Whole seconds from 0 to `maximum`: digits only.
InputRules SecondsRules(int maximum);

// The DTMF code character `c` stands for, or a null QChar.
QChar DtmfCodeCharacter(QChar c);

} // namespace tr640
