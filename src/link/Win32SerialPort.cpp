#include "link/Win32SerialPort.h"

#include "link/SerialLink.h"

#include <QWinEventNotifier>

#include <algorithm>
#include <utility>

namespace tr640::link {

namespace {

constexpr DWORD kReceiveBuffer = 1024;
constexpr DWORD kTransmitBuffer = 512;
// A write may take twice the time of its bytes at 9600 baud, plus a second.
constexpr DWORD kWriteMsPerByte = 2;
constexpr DWORD kWriteMsExtra = 1000;

QString SystemText(DWORD code) {
    return qt_error_string(int(code));
}

} // namespace

Win32SerialPort::Win32SerialPort(QObject* parent)
    : QObject(parent), m_readBuffer(kReceiveBuffer, Qt::Uninitialized) {
    // Manual-reset events: each overlapped call resets its own when it starts.
    for (OVERLAPPED* op : {&m_readOp, &m_writeOp})
        op->hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_readNotifier = new QWinEventNotifier(m_readOp.hEvent, this);
    m_writeNotifier = new QWinEventNotifier(m_writeOp.hEvent, this);
    connect(m_readNotifier, &QWinEventNotifier::activated, this, &Win32SerialPort::onReadDone);
    connect(m_writeNotifier, &QWinEventNotifier::activated, this, &Win32SerialPort::onWriteDone);
}

Win32SerialPort::~Win32SerialPort() {
    close();
    // The notifiers let go of the events before these are closed.
    delete m_readNotifier;
    delete m_writeNotifier;
    for (OVERLAPPED* op : {&m_readOp, &m_writeOp})
        CloseHandle(op->hEvent);
}

bool Win32SerialPort::open(const QString& name, quint32* error, QString* detail) {
    close();
    const QString path =
        name.startsWith(QLatin1String("\\\\.\\")) ? name : QStringLiteral("\\\\.\\") + name;
    m_handle =
        CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()), GENERIC_READ | GENERIC_WRITE, 0,
                    nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    quint32 code = m_handle == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    if (code == 0 && !configure(&code)) {
        CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }
    if (code != 0) {
        m_handle = INVALID_HANDLE_VALUE;
        *error = code;
        *detail = SystemText(code);
        return false;
    }
    m_name = name;
    // Bytes already waiting are delivered from the event loop, as every later byte is, not
    // from inside open().
    QMetaObject::invokeMethod(this, &Win32SerialPort::receive, Qt::QueuedConnection);
    return true;
}

bool Win32SerialPort::configure(quint32* error) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    COMMTIMEOUTS timeouts{};
    if (!GetCommState(m_handle, &dcb) || !GetCommTimeouts(m_handle, &timeouts)) {
        *error = GetLastError();
        return false;
    }
    dcb.BaudRate = kBaudRate;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    // Programming cables often draw their power from DTR. Devices without modem lines refuse
    // it, which does not matter: the line settings are set without it then.
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    if (!SetCommState(m_handle, &dcb)) {
        dcb.fDtrControl = DTR_CONTROL_DISABLE;
        dcb.fRtsControl = RTS_CONTROL_DISABLE;
        if (!SetCommState(m_handle, &dcb)) {
            *error = GetLastError();
            return false;
        }
    }
    SetupComm(m_handle, kReceiveBuffer, kTransmitBuffer); // a request the driver may ignore
    // A read ends when its bytes are there, however long that takes: it asks only for bytes
    // the driver holds, or for one byte to wait on.
    timeouts.ReadIntervalTimeout = 0;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = 0;
    timeouts.WriteTotalTimeoutMultiplier = kWriteMsPerByte;
    timeouts.WriteTotalTimeoutConstant = kWriteMsExtra;
    if (!SetCommTimeouts(m_handle, &timeouts)) {
        *error = GetLastError();
        return false;
    }
    return true;
}

void Win32SerialPort::settle(OVERLAPPED& op, bool& pending) {
    if (pending) {
        DWORD count = 0;
        GetOverlappedResult(m_handle, &op, &count, TRUE);
        pending = false;
    }
    ResetEvent(op.hEvent);
}

void Win32SerialPort::close() {
    if (!isOpen())
        return;
    // Output already handed over is sent; the write timeout bounds the wait.
    for (int round = 0; round < 2 && (m_writePending || !m_queued.isEmpty()); ++round) {
        settle(m_writeOp, m_writePending);
        startWrite();
    }
    if (!isOpen())
        return;         // the write failed and closed the port
    CancelIo(m_handle); // ends the read waiting for a byte
    settle(m_readOp, m_readPending);
    settle(m_writeOp, m_writePending);
    CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
    m_writing.clear();
    m_queued.clear();
}

void Win32SerialPort::fail(DWORD code) {
    const QString detail = SystemText(code);
    // Operations under way end with the handle; none of them is collected any more.
    CancelIo(m_handle);
    m_queued.clear();
    close();
    Q_EMIT failed(detail);
}

bool Win32SerialPort::finished(OVERLAPPED& op, bool& pending, DWORD* count) {
    if (!pending || !isOpen()) {
        ResetEvent(op.hEvent); // a call that completed at once also signals its event
        return false;
    }
    if (!GetOverlappedResult(m_handle, &op, count, FALSE)) {
        const DWORD code = GetLastError();
        if (code == ERROR_IO_INCOMPLETE)
            return false;
        pending = false;
        fail(code);
        return false;
    }
    pending = false;
    ResetEvent(op.hEvent);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Receiving: read what the driver holds, then wait for the next byte with a read of one.

void Win32SerialPort::receive() {
    while (isOpen() && !m_readPending) {
        DWORD errors = 0;
        COMSTAT status{};
        if (!ClearCommError(m_handle, &errors, &status)) {
            fail(GetLastError());
            return;
        }
        if (!startRead(std::max<DWORD>(status.cbInQue, 1)))
            return;
    }
}

bool Win32SerialPort::startRead(DWORD size) {
    size = std::min<DWORD>(size, DWORD(m_readBuffer.size()));
    if (!ReadFile(m_handle, m_readBuffer.data(), size, nullptr, &m_readOp)) {
        const DWORD code = GetLastError();
        if (code != ERROR_IO_PENDING) {
            fail(code);
            return false;
        }
        m_readPending = true;
        return false; // onReadDone() carries on
    }
    DWORD count = 0;
    GetOverlappedResult(m_handle, &m_readOp, &count, FALSE);
    ResetEvent(m_readOp.hEvent);
    if (count > 0)
        Q_EMIT bytesReceived(m_readBuffer.left(count));
    return isOpen(); // the receiver may have closed the port
}

void Win32SerialPort::onReadDone() {
    DWORD count = 0;
    if (!finished(m_readOp, m_readPending, &count))
        return;
    if (count > 0)
        Q_EMIT bytesReceived(m_readBuffer.left(count));
    receive();
}

// ---------------------------------------------------------------------------------------------
// Sending: one write at a time, the bytes behind it queued.

bool Win32SerialPort::write(QByteArrayView bytes) {
    if (!isOpen())
        return false;
    m_queued.append(bytes);
    if (!m_writePending)
        startWrite();
    return isOpen();
}

void Win32SerialPort::startWrite() {
    while (isOpen() && !m_writePending && !m_queued.isEmpty()) {
        m_writing = std::exchange(m_queued, QByteArray());
        if (!WriteFile(m_handle, m_writing.constData(), DWORD(m_writing.size()), nullptr,
                       &m_writeOp)) {
            const DWORD code = GetLastError();
            if (code != ERROR_IO_PENDING) {
                fail(code);
                return;
            }
            m_writePending = true;
            return;
        }
        DWORD count = 0;
        GetOverlappedResult(m_handle, &m_writeOp, &count, FALSE);
        ResetEvent(m_writeOp.hEvent);
        if (count < DWORD(m_writing.size())) {
            fail(ERROR_TIMEOUT);
            return;
        }
    }
}

void Win32SerialPort::onWriteDone() {
    DWORD count = 0;
    if (!finished(m_writeOp, m_writePending, &count))
        return;
    if (count < DWORD(m_writing.size())) {
        fail(ERROR_TIMEOUT);
        return;
    }
    startWrite();
}

} // namespace tr640::link
