#pragma once

// Undo and redo of the changes to the channel list and the main window's settings, as
// snapshots of the editor state.

#include "codeplug/BiText.h"
#include "codeplug/EditorState.h"

#include <deque>

namespace tr640 {

enum class EditKind {
    Cell,         // a cell committed from its editor
    ClearChannel, // a receive frequency blanked
    Setting,      // one of the six function settings
    NewChannels,  // File > New
    Band,         // a confirmed band change
    Open,         // a codeplug file opened
    Read,         // a codeplug read from the radio
    Paste,
    Cut,
    Delete,
    Import, // channels imported from a CSV file
};

// The step's name in a menu: "粘贴" / "Paste".
BiText EditKindName(EditKind kind);

class EditHistory {
public:
    static constexpr int kLimit = 100;

    // A change was made; `before` is the state it started from.
    void record(EditKind kind, const EditorState& before);

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    EditKind undoKind() const { return undo_.back().kind; }
    EditKind redoKind() const { return redo_.back().kind; }

    // Puts the state of the last step back into `state`, and keeps `state` for redo.
    void undo(EditorState& state);
    void redo(EditorState& state);

    // What a step restores: a decoded codeplug comes back whole, any other step only the
    // channel list, the six settings and the band. The display language and the calibration
    // flag always stay as they are now.
    static void Restore(EditorState& state, const EditorState& from, EditKind kind);

private:
    struct Step {
        EditKind kind;
        EditorState state;
    };
    std::deque<Step> undo_;
    std::deque<Step> redo_;
};

} // namespace tr640
