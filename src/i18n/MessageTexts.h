#pragma once

// Texts of the main window's messages, in both languages.

#include "codeplug/BiText.h"

namespace tr640::msg {

inline constexpr BiText kBeyondRange{"超出频段范围", "Beyond the frequency range"};

inline constexpr BiText kChangeBand{"改变频段将清除频道列表，确定吗？",
                                    "Change frequency channel list will remove, sure?"};
inline constexpr BiText kChangeBandTitle{"注意！", "Attention!"};

inline constexpr BiText kNewClears{"所有信道的数据将被清除！", "All channel data will be clear."};
inline constexpr BiText kNewTitle{"警告", "Warnning"};

inline constexpr BiText kOverwrite{"该文件已存在，是否覆盖？",
                                   "This file already exists, whether to cover?"};

// File errors: %1 the file, %2 the reason.
inline constexpr BiText kOpenFailed{"无法打开文件“%1”：%2。", "Cannot open the file \"%1\": %2."};
inline constexpr BiText kSaveFailed{"无法保存文件“%1”：%2。原有文件没有改动。",
                                    "Cannot save the file \"%1\": %2. An existing file of that "
                                    "name was left as it was."};
inline constexpr BiText kReasonNotFound{"文件不存在", "the file does not exist"};
inline constexpr BiText kReasonFolder{"这是一个文件夹", "it is a folder"};
inline constexpr BiText kReasonNotRegular{"这不是普通文件（而是设备或管道）",
                                          "it is not an ordinary file but a device or a pipe"};
inline constexpr BiText kReasonPermission{"没有访问权限", "permission denied"};
inline constexpr BiText kReasonRead{"读取出错", "it could not be read"};
inline constexpr BiText kReasonWrite{"写入出错（磁盘可能已满）",
                                     "it could not be written (the disk may be full)"};
inline constexpr BiText kReasonDiskFull{"磁盘已满", "the disk is full"};

// A port chosen by name that did not open (%1 its name), and the question for such a name.
inline constexpr BiText kNamedPortInUse{
    "串行端口%1已被其它程序使用，请选择其它串口或关掉其程序.",
    "Serial port %1 has been other programs use, please choose other serial or turn off its "
    "program."};
inline constexpr BiText kPortNamePrompt{"串口设备（例如 /dev/ttyUSB0、/dev/pts/3 或 COM10）：",
                                        "Serial device (for example /dev/ttyUSB0, /dev/pts/3 or "
                                        "COM10):"};

// Pasting channels: why a value was refused, and the summary.
inline constexpr BiText kCellNotFrequency{"不是频率", "not a frequency"};
inline constexpr BiText kCellNotTone{"不是对讲机的亚音频", "not a tone of the radio"};
inline constexpr BiText kCellNotEntry{"不是列表中的选项", "not an entry of the list"};
inline constexpr BiText kCellEmptyChannel{"该信道没有接收频率",
                                          "the channel has no receive frequency"};
inline constexpr BiText kPasteProblem{"信道 %1，%2：%3", "Channel %1, %2: %3"};
inline constexpr BiText kPasteRefused{
    "以下数据未粘贴，原有内容保持不变：",
    "These values were not pasted; the cells keep what they held:"};
inline constexpr BiText kPasteBeyond{"另有 %1 行超出第 16 信道，未粘贴。",
                                     "%1 more line(s) beyond channel 16 were not pasted."};

// The undo and redo items, followed by the step's name.
inline constexpr BiText kUndo{"撤销", "Undo"};
inline constexpr BiText kRedo{"重做", "Redo"};

// Channels as CSV.
inline constexpr BiText kCsvFilter{"CSV 文件(*.csv)", "CSV files(*.csv)"};
inline constexpr BiText kCsvImportQuestion{
    "导入这些信道吗？\n“是”：按上面的方式导入；“否”：改为%1放置；“取消”：不作任何改动。",
    "Import these channels?\nYes: import them as listed above. No: place them %1 instead. "
    "Cancel: change nothing."};
inline constexpr BiText kCsvByLocation{"按 Location 编号", "by their Location"};
inline constexpr BiText kCsvInOrder{"按文件顺序", "in file order"};
inline constexpr BiText kCsvNothing{"文件中没有可导入的信道。",
                                    "The file has no channel to import."};

// Leaving with changes that were not saved.
inline constexpr BiText kSaveChanges{"频率数据已修改，是否保存？",
                                     "The codeplug has been changed. Save the changes?"};

} // namespace tr640::msg
