// Texts of the About box. Its window caption "Help" is the same in both languages and is not
// written here.

#include "i18n/TextTable.h"

namespace tr640 {

namespace {

using K = TextKind;

const TextEntry kTexts[] = {
    {"lblTitle", K::Caption, 0, {"KESTRA 对讲机编程软件", "KESTRA Radio Software"}},
    {"lblVersion", K::Caption, 0, {"简体中文版", "English version"}},
    {"Label2", K::Caption, 0, {"发布：2012.2", "Issue：2012.4"}},
    {"Label3", K::Caption, 0, {"版本号:1.20", "Version:1.20"}},
    {"lblDescription",
     K::Caption,
     0,
     {"TR-640 编程软件项目开发 · 自由软件，GPL-3.0 或更高版本",
      "Developed by the TR-640 programming software project · free software, GPL-3.0 or later"}},
    {"cmdOK", K::Caption, 0, {"确定", "OK"}},
};

} // namespace

std::span<const TextEntry> FrmAboutTexts() {
    return kTexts;
}

} // namespace tr640
