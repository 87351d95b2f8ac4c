// The serial adapter on the Win32 API (Windows), and the port list from SetupAPI.

#include "link/SerialLink.h"

#include "link/Win32SerialPort.h"
#include "link/WindowsPorts.h"

// clang-format off
#include <initguid.h> // before devguid.h: GUID_DEVCLASS_PORTS is defined here
#include <devguid.h>
#include <setupapi.h>
// clang-format on

#include <vector>

namespace tr640::link {

namespace {

// A text property of a device ("USB-SERIAL CH340 (COM3)"); of a list, the first entry.
QString DeviceProperty(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property) {
    DWORD type = 0, size = 0;
    SetupDiGetDeviceRegistryPropertyW(set, &device, property, &type, nullptr, 0, &size);
    if (size == 0 || (type != REG_SZ && type != REG_MULTI_SZ))
        return QString();
    std::vector<wchar_t> text(size / sizeof(wchar_t) + 1, L'\0');
    if (!SetupDiGetDeviceRegistryPropertyW(set, &device, property, &type,
                                           reinterpret_cast<BYTE*>(text.data()), size, nullptr))
        return QString();
    return QString::fromWCharArray(text.data()); // up to the first NUL
}

// The "PortName" value of the device's key: "COM3" (printer ports say "LPT1").
QString PortNameOf(HDEVINFO set, SP_DEVINFO_DATA& device) {
    HKEY key = SetupDiOpenDevRegKey(set, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (key == INVALID_HANDLE_VALUE)
        return QString();
    wchar_t name[64] = {};
    DWORD type = 0, size = sizeof name - sizeof(wchar_t);
    const bool ok = RegQueryValueExW(key, L"PortName", nullptr, &type,
                                     reinterpret_cast<BYTE*>(name), &size) == ERROR_SUCCESS &&
                    type == REG_SZ;
    RegCloseKey(key);
    return ok ? QString::fromWCharArray(name) : QString();
}

} // namespace

SerialLink::SerialLink(QObject* parent) : QObject(parent), port_(new Win32SerialPort(this)) {
    port_->setObjectName(QStringLiteral("MSComm1"));
    connect(port_, &Win32SerialPort::bytesReceived, this, &SerialLink::bytesReceived);
    connect(port_, &Win32SerialPort::failed, this, &SerialLink::portLost);
}

SerialLink::~SerialLink() {
    close();
}

PortOpenResult SerialLink::open(const QString& portName) {
    close();
    const QString name = resolvePortName(portName);
    if (name.isEmpty())
        return {PortError::NotFound, QString(), {}};
    quint32 code = 0;
    QString detail;
    if (port_->open(name, &code, &detail))
        return {};
    PortOpenResult r{ClassifyWin32OpenError(code), detail, AccessOf(name)};
    if (r.ok())
        r.error = PortError::Other;
    return r;
}

void SerialLink::close() {
    port_->close();
}

bool SerialLink::isOpen() const {
    return port_->isOpen();
}

QString SerialLink::portName() const {
    return port_->name();
}

bool SerialLink::write(QByteArrayView bytes) {
    return port_->write(bytes);
}

QList<PortInfo> SerialLink::availablePorts() {
    QList<PortInfo> ports;
    HDEVINFO set = SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE)
        return ports;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &device); ++i) {
        const QString name = PortNameOf(set, device);
        if (ComNumber(name) == 0)
            continue;
        QString friendly = DeviceProperty(set, device, SPDRP_FRIENDLYNAME);
        if (friendly.isEmpty())
            friendly = DeviceProperty(set, device, SPDRP_DEVICEDESC);
        ports.append(WindowsPort(name, friendly, DeviceProperty(set, device, SPDRP_HARDWAREID)));
    }
    SetupDiDestroyDeviceInfoList(set);
    SortByComNumber(ports);
    return ports;
}

} // namespace tr640::link
