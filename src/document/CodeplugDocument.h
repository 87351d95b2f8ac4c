#pragma once

// The codeplug being edited: the editor state, the undo history of its changes, whether it has
// changed since it was last opened, saved, read or written, and the file it came from. Views
// observe it through its signals; commands change it through edit(), replace() and update().

#include "codeplug/BiText.h"
#include "codeplug/EditorState.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QUndoStack>
#include <functional>

namespace tr640 {

// The kinds of undoable step.
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

class CodeplugDocument : public QObject {
    Q_OBJECT
public:
    static constexpr int kUndoLimit = 100;

    explicit CodeplugDocument(QObject* parent = nullptr);
    ~CodeplugDocument() override;

    const EditorState& state() const { return state_; }
    // For those who only read, and for tests that prepare a state before any view exists.
    EditorState& state() { return state_; }

    // One undoable step: `change` edits the state; the step is kept when anything changed, and
    // the views are told what did. Edits nested in an edit make one step, the outermost one's.
    void edit(EditKind kind, const std::function<void(EditorState&)>& change);
    // A decoded codeplug replaces the whole state as one step; every view shows it anew.
    void replace(const EditorState& state, EditKind kind = EditKind::Read);
    // A change that is not undone (the display language): the views are told what changed.
    void update(const std::function<void(EditorState&)>& change);
    // A settings dialog's OK: the dialog shows what it committed, so only the unsaved mark
    // follows.
    void commitStore(const std::function<void(EditorState&)>& change);

    bool canUndo() const { return undo_.canUndo(); }
    bool canRedo() const { return undo_.canRedo(); }
    EditKind undoKind() const;
    EditKind redoKind() const;
    void undo();
    void redo();

    // The codeplug as last opened, saved, read or written.
    void markClean();
    bool isModified() const;

    // The file last opened or saved, empty before the first.
    QString fileName() const { return fileName_; }
    void setFileName(const QString& path) { fileName_ = path; }

Q_SIGNALS:
    // Rows 1 to 16 whose cells changed.
    void channelsChanged(const QList<int>& rows);
    // One of the six function settings of the main window.
    void settingsChanged();
    // The SettingsStore the dialogs edit, other than by a dialog's own OK.
    void storeChanged();
    // The band selector's position.
    void bandChanged();
    // Whether the codeplug equals the one last opened, saved, read or written.
    void cleanChanged(bool clean);
    // A step was recorded, undone or redone.
    void historyChanged();

private:
    class Step;
    friend class Step;

    // Tells the views what differs from `before`.
    void announce(const EditorState& before, bool wholeCodeplug = false);
    void checkClean();
    // What a step restores: a decoded codeplug comes back whole, any other step only the
    // channel list, the six settings and the band. The display language and the calibration
    // flag always stay as they are now.
    void restore(const EditorState& from, EditKind kind);

    EditorState state_;
    QUndoStack undo_;
    int depth_ = 0;
    EditorState before_;
    QByteArray cleanImage_;
    bool clean_ = true;
    QString fileName_;
};

} // namespace tr640
