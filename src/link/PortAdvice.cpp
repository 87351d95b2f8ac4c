#include "link/PortAdvice.h"

#include "codeplug/BiText.h"

#include <QtGlobal>

namespace tr640::link {

namespace {

struct CableChipId {
    const char* usbId;
    const char* chip;
};

// USB serial chips the programming cables of this radio are built with. The udev rule in
// packaging/ keeps ModemManager off the same list.
constexpr CableChipId kCableChips[] = {
    {"1A86:7523", "CH340"}, {"067B:2303", "PL2303"}, {"10C4:EA60", "CP210x"},
    {"0403:6001", "FTDI"},  {"0403:6015", "FTDI"},
};

constexpr BiText kPermissionNotMember{
    "没有使用 %1 的权限：该设备属于用户组“%2”，而当前用户不在该组中。请在终端中运行\n"
    "    sudo usermod -aG %2 $USER\n"
    "然后注销并重新登录。",
    "You may not use %1: the device belongs to the group \"%2\", and this user is not a member "
    "of it. Run\n"
    "    sudo usermod -aG %2 $USER\n"
    "in a terminal, then log out and log in again."};
constexpr BiText kPermissionNewLogin{
    "暂时没有使用 %1 的权限：当前用户已加入用户组“%2”，但本次登录尚未生效。请注销并重新登录"
    "（或重启计算机）。",
    "You may not use %1 yet: this user was added to the group \"%2\", but the current login "
    "does not have it. Log out and log in again (or restart the computer)."};
constexpr BiText kPermissionOther{
    "没有使用 %1 的权限。请让系统管理员为当前用户开通该设备的读写权限。",
    "You may not use %1. Ask the administrator to give this user read and write access to it."};
#ifdef Q_OS_LINUX
constexpr BiText kInUse{
    "%1 正被其它程序占用（例如另一个编程软件、串口终端，或刚插入USB编程线时的 ModemManager）。"
    "请关闭该程序后重试；ModemManager 通常几秒后会释放串口。",
    "%1 is held by another program (another programming tool, a terminal program, or "
    "ModemManager probing a newly plugged USB cable). Close that program and try again; "
    "ModemManager usually lets go after a few seconds."};
#else
constexpr BiText kInUse{"%1 正被其它程序占用（例如另一个编程软件或串口终端）。请关闭该程序后重试。",
                        "%1 is held by another program (another programming tool or a terminal "
                        "program). Close that program and try again."};
#endif
#ifdef Q_OS_WIN
constexpr BiText kNotFound{
    "找不到串口 %1。请检查编程线是否插好、驱动是否已安装（设备管理器中可查看编程线的COM号），"
    "然后从“通信端口”菜单中重新选择串口。",
    "There is no port %1. Check that the programming cable is plugged in and its driver is "
    "installed (Device Manager shows the cable's COM number), then choose the port again from "
    "the 'Communication port' menu."};
#else
constexpr BiText kNotFound{
    "找不到串口 %1。请检查编程线是否插好，然后从“通信端口”菜单中重新选择串口（USB编程线插到"
    "其它USB口时名称可能改变）。",
    "There is no port %1. Check that the programming cable is plugged in, then choose the port "
    "again from the 'Communication port' menu (a USB cable may get another name in another USB "
    "socket)."};
#endif
constexpr BiText kOther{"无法打开 %1：%2。", "%1 cannot be opened: %2."};
constexpr BiText kOtherNoDetail{"无法打开 %1。", "%1 cannot be opened."};
constexpr BiText kCableMark{"%1 编程线", "%1 programming cable"};

// Groups a user should not be told to join for a serial device.
bool GroupToJoin(const QString& group) {
    return !group.isEmpty() && group != QLatin1String("root") && group != QLatin1String("tty");
}

} // namespace

QString PortProblemAdvice(const PortOpenResult& r, const QString& portName, int language) {
    const QString device = r.access.path.isEmpty() ? portName : r.access.path;
    switch (r.error) {
    case PortError::None:
        return QString();
    case PortError::PermissionDenied:
        if (GroupToJoin(r.access.group)) {
            if (r.access.membership == GroupMembership::NotInThisLogin)
                return kPermissionNewLogin.text(language).arg(device, r.access.group);
            if (r.access.membership != GroupMembership::Member)
                return kPermissionNotMember.text(language).arg(device, r.access.group);
        }
        return kPermissionOther.text(language).arg(device);
    case PortError::InUse:
        return kInUse.text(language).arg(device);
    case PortError::NotFound:
        return kNotFound.text(language).arg(device);
    case PortError::Other:
        break;
    }
    if (r.detail.isEmpty())
        return kOtherNoDetail.text(language).arg(device);
    return kOther.text(language).arg(device, r.detail);
}

QString CableChip(const QString& usbId) {
    for (const CableChipId& c : kCableChips)
        if (usbId.compare(QLatin1String(c.usbId), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(c.chip);
    return QString();
}

QString PortMenuText(const PortInfo& p, int language) {
#ifdef Q_OS_WIN
    QString text =
        p.description.isEmpty() ? p.name : QStringLiteral("%1: %2").arg(p.name, p.description);
#else
    QString text =
        p.description.isEmpty() ? p.name : QStringLiteral("%1 (%2)").arg(p.description, p.name);
#endif
    if (!p.usbId.isEmpty())
        text += QStringLiteral("  [%1]").arg(p.usbId);
    const QString chip = CableChip(p.usbId);
    if (!chip.isEmpty())
        text += QStringLiteral("  \u2014 ") + kCableMark.text(language).arg(chip);
    return text;
}

} // namespace tr640::link
