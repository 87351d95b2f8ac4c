// Texts of the main window.

#include "i18n/TextTable.h"

#include "codeplug/ListTexts.h"

namespace tr640 {

namespace {

using K = TextKind;

const TextEntry kTexts[] = {
    {"", K::WindowCaption, 0, {"KESTRA 对讲机编程软件 V1.20", "KESTRA Radio Software V1.20"}},
    // Menus.
    {"mnuFile", K::Caption, 0, {"文件(&F)", "File(&F)"}},
    {"mnuNew", K::Caption, 0, {"新建(&N)", "New(&N)"}},
    {"mnuOpen", K::Caption, 0, {"打开(&O)", "Open(&O)"}},
    {"mnuAssave", K::Caption, 0, {"保存(&S)", "Save(&S)"}},
    {"mnuQuit", K::Caption, 0, {"退出(&Q)", "Exit(&Q)"}},
    {"mnupro", K::Caption, 0, {"编程(&P)", "Programming(&P)"}},
    {"mnureadFre", K::Caption, 0, {"读频(&R)", "Read From Radio(&R)"}},
    {"mnuwriteFre", K::Caption, 0, {"写频(&W)", "Write To Radio(&W)"}},
    {"mnudtmf", K::Caption, 0, {"可选功能", "Optional function "}},
    {"Key_enactment", K::Caption, 0, {"键设定", "Keys Assigment "}},
    {"mnusetin", K::Caption, 0, {"嵌入信息", "Embedded Message"}},
    {"mnudebug", K::Caption, 0, {"调试(&D)", "Debug Parameters(&D)"}},
    {"mnutestfre", K::Caption, 0, {"测试频率", "Test Frequency"}},
    {"mnuset", K::Caption, 0, {"设置(&S)", "Settings(&S)"}},
    {"mnulock", K::Caption, 0, {"锁定(&L)", "Lock(&L)"}},
    {"mnucom", K::Caption, 0, {"通信端口(&V)", "Communication port(&V)"}},
    {"mnucomother", K::Caption, 0, {"其它端口(&O)...", "Other port(&O)..."}},
    {"mnuLanguage", K::Caption, 0, {"语言选择(&L)", "Languages(&L)"}},
    {"mnuChinese", K::Caption, 0, {"中文", "Chinese"}},
    {"mnuEnglish", K::Caption, 0, {"英文", "English"}},
    {"mnuhelp", K::Caption, 0, {"帮助(&H)", "Help(&H)"}},
    {"mnumainhelp", K::Caption, 0, {"帮助主题  F1", "The help topic  F1 "}},
    {"mnuabout", K::Caption, 0, {"关于", "About"}},
    // Channel grid headings.
    {"Grid1", K::HeaderCell, 0, {"信道", "CH"}},
    {"Grid1", K::HeaderCell, 1, {"接收频率", "RX frequency"}},
    {"Grid1", K::HeaderCell, 2, {"亚音频", "QT/DQT"}},
    {"Grid1", K::HeaderCell, 3, {"发射频率", "TX frequency"}},
    {"Grid1", K::HeaderCell, 4, {"亚音频", "QT/DQT"}},
    {"Grid1", K::HeaderCell, 5, {"功率", "Power"}},
    {"Grid1", K::HeaderCell, 6, {"禁发", "BCLO"}},
    {"Grid1", K::HeaderCell, 7, {"宽\\窄带", "W/N"}},
    {"Grid1", K::HeaderCell, 8, {"扫描添加", "Scan Add"}},
    // Toolbar.
    {"Toolbar1", K::Tooltip, 1, {"新建", "New"}},
    {"Toolbar1", K::Tooltip, 2, {"打开", "Open"}},
    {"Toolbar1", K::Tooltip, 3, {"保存", "Save"}},
    {"Toolbar1", K::Tooltip, 5, {"读频", "Read frequency"}},
    {"Toolbar1", K::Tooltip, 6, {"写频", "Write frequency"}},
    // Frames and labels.
    {"Frame1", K::Caption, 0, {"机型选择", "Model"}},
    {"Frame2", K::Caption, 0, {"功能设置", "Functions Setting"}},
    {"Label2",
     K::Caption,
     0,
     {"TR-640 编程软件 · 供经销商与维修技术人员使用",
      "TR-640 programming software · for dealers and technicians"}},
    {"Label3", K::Caption, 0, {"频段", "Range"}},
    {"Label4", K::Caption, 0, {"语言通知", "Voice Notice:"}},
    {"Label5", K::Caption, 0, {"发射超时", "Time-out Timer:"}},
    {"Label1", K::Caption, 0, {"发射超时预警", "TOT Pre-Alert:"}},
    {"Label6", K::Caption, 0, {"静噪等级", "Squelch Level:"}},
    {"Label7", K::Caption, 0, {"省电", "Battery Save:"}},
    {"Label8", K::Caption, 0, {"提示音", "Beep:"}},
    // Lists of the cell editors and the function settings.
    {"Combo8", K::ListItem, 0, kToneOff},
    {"Combo5(5)", K::ListItem, 0, kPowerList[0]},
    {"Combo5(5)", K::ListItem, 1, kPowerList[1]},
    {"Combo5(6)", K::ListItem, 0, kBcloList[0]},
    {"Combo5(6)", K::ListItem, 1, kBcloList[1]},
    {"Combo5(7)", K::ListItem, 0, kBandwidthList[0]},
    {"Combo5(7)", K::ListItem, 1, kBandwidthList[1]},
    {"Combo5(8)", K::ListItem, 0, kScanAddList[0]},
    {"Combo5(8)", K::ListItem, 1, kScanAddList[1]},
    {"Combo2", K::ListItem, 0, kVoiceNoticeList[0]},
    {"Combo2", K::ListItem, 1, kVoiceNoticeList[1]},
    {"Combo2", K::ListItem, 2, kVoiceNoticeList[2]},
    {"Combo3", K::Generated, 0, {}, TimeOutTimerItem, kTimeOutTimerCount},
    {"Combo4", K::ListItem, 0, kTotPreAlertOff},
    {"Combo4", K::Generated, 1, {}, TotPreAlertItem, kTotPreAlertCount - 1},
    {"Combo9", K::Generated, 0, {}, SquelchLevelItem, kSquelchLevelCount},
    {"Combo6", K::ListItem, 0, kBatterySaveList[0]},
    {"Combo6", K::ListItem, 1, kBatterySaveList[1]},
    {"Combo7", K::ListItem, 0, kBeepList[0]},
    {"Combo7", K::ListItem, 1, kBeepList[1]},
};

} // namespace

std::span<const TextEntry> Form1Texts() {
    return kTexts;
}

} // namespace tr640
