#include "codeplug/EditHistory.h"

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

void EditHistory::record(EditKind kind, const EditorState& before) {
    undo_.push_back({kind, before});
    if (undo_.size() > kLimit)
        undo_.pop_front();
    redo_.clear();
}

void EditHistory::Restore(EditorState& state, const EditorState& from, EditKind kind) {
    const int language = state.Language;
    const int calibration = state.CalibrationWrite;
    if (kind == EditKind::Open || kind == EditKind::Read) {
        state = from;
    } else {
        state.Grid = from.Grid;
        state.CellListIndex = from.CellListIndex;
        state.VoiceNotice = from.VoiceNotice;
        state.TimeOutTimer = from.TimeOutTimer;
        state.TotPreAlert = from.TotPreAlert;
        state.SquelchLevel = from.SquelchLevel;
        state.BatterySave = from.BatterySave;
        state.Beep = from.Beep;
        state.Band = from.Band;
        state.CurrentBandIndex = from.CurrentBandIndex;
    }
    state.Language = language;
    state.CalibrationWrite = calibration;
    state.SetGrid1Text(); // list cells in today's language
}

void EditHistory::undo(EditorState& state) {
    if (undo_.empty())
        return;
    Step step = std::move(undo_.back());
    undo_.pop_back();
    redo_.push_back({step.kind, state});
    Restore(state, step.state, step.kind);
}

void EditHistory::redo(EditorState& state) {
    if (redo_.empty())
        return;
    Step step = std::move(redo_.back());
    redo_.pop_back();
    undo_.push_back({step.kind, state});
    Restore(state, step.state, step.kind);
}

} // namespace tr640
