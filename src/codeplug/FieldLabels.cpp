#include "codeplug/FieldLabels.h"

#include "codeplug/ListTexts.h"

namespace tr640 {

namespace {

template <const auto& List> QString ListItem(int position, int language) {
    return position >= 0 && position < int(List.size()) ? List[position].text(language) : QString();
}

template <QString (*Item)(int, int), int Count> QString Generated(int position, int language) {
    return position >= 0 && position < Count ? Item(position, language) : QString();
}

const FunctionSetting kFunctionSettings[] = {
    {"VoiceNotice",
     {"语言通知", "Voice Notice"},
     0x11F,
     &EditorState::VoiceNotice,
     ListItem<kVoiceNoticeList>},
    {"TimeOutTimer",
     {"发射超时", "Time-out Timer"},
     0x120,
     &EditorState::TimeOutTimer,
     Generated<TimeOutTimerItem, kTimeOutTimerCount>},
    {"SquelchLevel",
     {"静噪等级", "Squelch Level"},
     0x124,
     &EditorState::SquelchLevel,
     Generated<SquelchLevelItem, kSquelchLevelCount>},
    {"BatterySave",
     {"省电", "Battery Save"},
     0x125,
     &EditorState::BatterySave,
     ListItem<kBatterySaveList>},
    {"Beep", {"提示音", "Beep"}, 0x126, &EditorState::Beep, ListItem<kBeepList>},
    {"TotPreAlert",
     {"发射超时预警", "TOT Pre-Alert"},
     0x121,
     &EditorState::TotPreAlert,
     Generated<TotPreAlertItem, kTotPreAlertCount>},
};

} // namespace

std::span<const FunctionSetting> FunctionSettings() {
    return kFunctionSettings;
}

} // namespace tr640
