// The serial adapter on Qt Serial Port (every platform but Windows).

#include "link/SerialLink.h"

#include <QSerialPortInfo>

namespace tr640::link {

PortError ClassifyOpenError(QSerialPort::SerialPortError error, const DeviceAccess& access) {
    if (access.known && !access.exists)
        return PortError::NotFound;
    switch (error) {
    case QSerialPort::NoError:
        return PortError::None;
    case QSerialPort::DeviceNotFoundError:
        return PortError::NotFound;
    case QSerialPort::PermissionError:
        // Also what a port held by another program reports (Windows: access denied; Unix:
        // the lock file or exclusive mode). Only the device's own permissions tell them apart.
        if (access.known && !access.accessible)
            return PortError::PermissionDenied;
        return PortError::InUse;
    case QSerialPort::OpenError: // already open
        return PortError::InUse;
    default:
        return PortError::Other;
    }
}

SerialLink::SerialLink(QObject* parent) : QObject(parent), port_(new QSerialPort(this)) {
    port_->setObjectName(QStringLiteral("MSComm1"));
    connect(port_, &QSerialPort::readyRead, this, &SerialLink::onReadyRead);
    connect(port_, &QSerialPort::errorOccurred, this, &SerialLink::onError);
}

SerialLink::~SerialLink() {
    close();
}

PortOpenResult SerialLink::open(const QString& portName) {
    close();
    const QString name = resolvePortName(portName);
    if (name.isEmpty())
        return {PortError::NotFound, QString(), {}};
    port_->setPortName(name);
    port_->setBaudRate(kBaudRate);
    port_->setDataBits(QSerialPort::Data8);
    port_->setParity(QSerialPort::NoParity);
    port_->setStopBits(QSerialPort::OneStop);
    port_->setFlowControl(QSerialPort::NoFlowControl);
    if (!port_->open(QIODevice::ReadWrite)) {
        const DeviceAccess access = AccessOf(name);
        PortOpenResult r{ClassifyOpenError(port_->error(), access), port_->errorString(), access};
        port_->clearError();
        if (r.ok())
            r.error = PortError::Other;
        return r;
    }
    // Programming cables often draw their power from DTR. Devices without modem lines
    // (pseudo-terminals, some adapters) refuse it, which does not matter.
    port_->setDataTerminalReady(true);
    port_->clearError();
    return {};
}

void SerialLink::close() {
    if (!port_->isOpen())
        return;
    port_->flush();
    port_->close();
    port_->clearError();
}

bool SerialLink::isOpen() const {
    return port_->isOpen();
}

QString SerialLink::portName() const {
    return port_->portName();
}

bool SerialLink::write(QByteArrayView bytes) {
    if (!port_->isOpen())
        return false;
    const bool ok = port_->write(bytes.data(), bytes.size()) == bytes.size();
    port_->flush();
    return ok;
}

void SerialLink::onReadyRead() {
    const QByteArray bytes = port_->readAll();
    if (!bytes.isEmpty())
        Q_EMIT bytesReceived(bytes);
}

void SerialLink::onError(QSerialPort::SerialPortError error) {
    if (error != QSerialPort::ResourceError || !port_->isOpen())
        return;
    const QString detail = port_->errorString();
    port_->close();
    port_->clearError();
    Q_EMIT portLost(detail);
}

QList<PortInfo> SerialLink::availablePorts() {
    QList<PortInfo> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        PortInfo p{info.portName(), info.systemLocation(), info.description(), QString()};
        if (info.hasVendorIdentifier() && info.hasProductIdentifier())
            p.usbId = QStringLiteral("%1:%2")
                          .arg(info.vendorIdentifier(), 4, 16, QLatin1Char('0'))
                          .arg(info.productIdentifier(), 4, 16, QLatin1Char('0'))
                          .toUpper();
        ports.append(p);
    }
    return ports;
}

} // namespace tr640::link
