#include "document/CodeplugDocument.h"

#include "codeplug/Codec.h"

#include <QUndoCommand>

namespace tr640 {

BiText EditKindName(EditKind kind) {
    switch (kind) {
    case EditKind::Cell:
        return {"编辑", "Edit"};
    case EditKind::ClearChannel:
        return {"删除信道", "Delete Channel"};
    case EditKind::Setting:
        return {"功能设置", "Setting"};
    case EditKind::NewChannels:
        return {"新建", "New"};
    case EditKind::Band:
        return {"更改频段", "Band Change"};
    case EditKind::Open:
        return {"打开", "Open"};
    case EditKind::Read:
        return {"读频", "Read"};
    case EditKind::Paste:
        return {"粘贴", "Paste"};
    case EditKind::Cut:
        return {"剪切", "Cut"};
    case EditKind::Delete:
        return {"删除", "Delete"};
    case EditKind::Import:
        return {"导入 CSV", "Import CSV"};
    }
    return {"", ""};
}

// A step keeps the state on the other side of it: before the change while it is done, after
// it while it is undone. It is pushed after its change was made, so its first redo does nothing.
class CodeplugDocument::Step : public QUndoCommand {
public:
    Step(CodeplugDocument& document, EditKind kind, const EditorState& before)
        : document_(document), kind_(kind), other_(before) {}

    EditKind kind() const { return kind_; }

    void undo() override { swap(); }
    void redo() override {
        if (pushed_)
            swap();
        pushed_ = true;
    }

private:
    void swap() {
        const EditorState now = document_.state_;
        document_.restore(other_, kind_);
        other_ = now;
    }

    CodeplugDocument& document_;
    EditKind kind_;
    EditorState other_;
    bool pushed_ = false;
};

CodeplugDocument::CodeplugDocument(QObject* parent) : QObject(parent) {
    undo_.setUndoLimit(kUndoLimit);
    cleanImage_ = EncodeImage(state_);
    connect(&undo_, &QUndoStack::indexChanged, this, [this] { Q_EMIT historyChanged(); });
}

CodeplugDocument::~CodeplugDocument() = default;

void CodeplugDocument::edit(EditKind kind, const std::function<void(EditorState&)>& change) {
    if (depth_ == 0)
        before_ = state_;
    ++depth_;
    change(state_);
    if (--depth_ > 0 || state_ == before_)
        return;
    const EditorState before = before_;
    undo_.push(new Step(*this, kind, before));
    announce(before);
}

void CodeplugDocument::replace(const EditorState& state, EditKind kind) {
    const EditorState before = state_;
    edit(kind, [&state](EditorState& e) { e = state; });
    // A decoded codeplug is shown whole, even where it equals what was there: the dialogs drop
    // what they held that was not confirmed.
    if (state_ == before)
        announce(before, true);
    else if (state_.Settings == before.Settings)
        Q_EMIT storeChanged();
}

void CodeplugDocument::update(const std::function<void(EditorState&)>& change) {
    const EditorState before = state_;
    change(state_);
    announce(before);
}

void CodeplugDocument::commitStore(const std::function<void(EditorState&)>& change) {
    change(state_);
    checkClean();
}

EditKind CodeplugDocument::undoKind() const {
    return static_cast<const Step*>(undo_.command(undo_.index() - 1))->kind();
}

EditKind CodeplugDocument::redoKind() const {
    return static_cast<const Step*>(undo_.command(undo_.index()))->kind();
}

void CodeplugDocument::undo() {
    undo_.undo();
}

void CodeplugDocument::redo() {
    undo_.redo();
}

void CodeplugDocument::restore(const EditorState& from, EditKind kind) {
    const EditorState before = state_;
    if (kind == EditKind::Open || kind == EditKind::Read) {
        state_ = from;
    } else {
        state_.Grid = from.Grid;
        state_.CellListIndex = from.CellListIndex;
        state_.VoiceNotice = from.VoiceNotice;
        state_.TimeOutTimer = from.TimeOutTimer;
        state_.TotPreAlert = from.TotPreAlert;
        state_.SquelchLevel = from.SquelchLevel;
        state_.BatterySave = from.BatterySave;
        state_.Beep = from.Beep;
        state_.Band = from.Band;
        state_.CurrentBandIndex = from.CurrentBandIndex;
    }
    state_.Language = before.Language;
    state_.CalibrationWrite = before.CalibrationWrite;
    state_.SetGrid1Text(); // list cells in today's language
    announce(before);
}

void CodeplugDocument::announce(const EditorState& before, bool wholeCodeplug) {
    QList<int> rows;
    for (int row = 1; row <= kChannelCount; ++row)
        if (wholeCodeplug || state_.Grid[row - 1] != before.Grid[row - 1] ||
            state_.CellListIndex[row - 1] != before.CellListIndex[row - 1])
            rows << row;
    if (!rows.isEmpty())
        Q_EMIT channelsChanged(rows);
    const auto lists = [](const EditorState& e) {
        return std::array{e.VoiceNotice,  e.TimeOutTimer, e.TotPreAlert,
                          e.SquelchLevel, e.BatterySave,  e.Beep};
    };
    if (wholeCodeplug || lists(state_) != lists(before))
        Q_EMIT settingsChanged();
    if (wholeCodeplug || state_.Settings != before.Settings)
        Q_EMIT storeChanged();
    if (wholeCodeplug || state_.Band != before.Band ||
        state_.CurrentBandIndex != before.CurrentBandIndex)
        Q_EMIT bandChanged();
    checkClean();
}

void CodeplugDocument::markClean() {
    cleanImage_ = EncodeImage(state_);
    checkClean();
}

bool CodeplugDocument::isModified() const {
    return EncodeImage(state_) != cleanImage_;
}

void CodeplugDocument::checkClean() {
    const bool clean = !isModified();
    if (clean == clean_)
        return;
    clean_ = clean;
    Q_EMIT cleanChanged(clean);
}

} // namespace tr640
