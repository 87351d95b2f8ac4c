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

SerialLink::SerialLink(QObject* parent) : QObject(parent), m_port(new QSerialPort(this)) {
    m_port->setObjectName(QStringLiteral("MSComm1"));
    connect(m_port, &QSerialPort::readyRead, this, &SerialLink::onReadyRead);
    connect(m_port, &QSerialPort::errorOccurred, this, &SerialLink::onError);
}

SerialLink::~SerialLink() {
    close();
}

PortOpenResult SerialLink::open(const QString& portName) {
    close();
    const QString name = resolvePortName(portName);
    if (name.isEmpty())
        return {PortError::NotFound, QString(), {}};
    m_port->setPortName(name);
    m_port->setBaudRate(kBaudRate);
    m_port->setDataBits(QSerialPort::Data8);
    m_port->setParity(QSerialPort::NoParity);
    m_port->setStopBits(QSerialPort::OneStop);
    m_port->setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port->open(QIODevice::ReadWrite)) {
        const DeviceAccess access = AccessOf(name);
        PortOpenResult r{ClassifyOpenError(m_port->error(), access), m_port->errorString(), access};
        m_port->clearError();
        if (r.ok())
            r.error = PortError::Other;
        return r;
    }
    // Programming cables often draw their power from DTR. Devices without modem lines
    // (pseudo-terminals, some adapters) refuse it, which does not matter.
    m_port->setDataTerminalReady(true);
    m_port->clearError();
    return {};
}

void SerialLink::close() {
    if (!m_port->isOpen())
        return;
    m_port->flush();
    m_port->close();
    m_port->clearError();
}

bool SerialLink::isOpen() const {
    return m_port->isOpen();
}

QString SerialLink::portName() const {
    return m_port->portName();
}

bool SerialLink::write(QByteArrayView bytes) {
    if (!m_port->isOpen())
        return false;
    const bool ok = m_port->write(bytes.data(), bytes.size()) == bytes.size();
    m_port->flush();
    return ok;
}

void SerialLink::onReadyRead() {
    const QByteArray bytes = m_port->readAll();
    if (!bytes.isEmpty())
        Q_EMIT bytesReceived(bytes);
}

void SerialLink::onError(QSerialPort::SerialPortError error) {
    if (error != QSerialPort::ResourceError || !m_port->isOpen())
        return;
    const QString detail = m_port->errorString();
    m_port->close();
    m_port->clearError();
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
