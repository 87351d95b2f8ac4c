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
    : QObject(parent), readBuffer_(kReceiveBuffer, Qt::Uninitialized) {
    // Manual-reset events: each overlapped call resets its own when it starts.
    for (OVERLAPPED* op : {&readOp_, &writeOp_})
        op->hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    readNotifier_ = new QWinEventNotifier(readOp_.hEvent, this);
    writeNotifier_ = new QWinEventNotifier(writeOp_.hEvent, this);
    connect(readNotifier_, &QWinEventNotifier::activated, this, &Win32SerialPort::onReadDone);
    connect(writeNotifier_, &QWinEventNotifier::activated, this, &Win32SerialPort::onWriteDone);
}

Win32SerialPort::~Win32SerialPort() {
    close();
    // The notifiers let go of the events before these are closed.
    delete readNotifier_;
    delete writeNotifier_;
    for (OVERLAPPED* op : {&readOp_, &writeOp_})
        CloseHandle(op->hEvent);
}

bool Win32SerialPort::open(const QString& name, quint32* error, QString* detail) {
    close();
    const QString path =
        name.startsWith(QLatin1String("\\\\.\\")) ? name : QStringLiteral("\\\\.\\") + name;
    handle_ =
        CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()), GENERIC_READ | GENERIC_WRITE, 0,
                    nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    quint32 code = handle_ == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    if (code == 0 && !configure(&code)) {
        CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
    if (code != 0) {
        handle_ = INVALID_HANDLE_VALUE;
        *error = code;
        *detail = SystemText(code);
        return false;
    }
    name_ = name;
    // Bytes already waiting are delivered from the event loop, as every later byte is, not
    // from inside open().
    QMetaObject::invokeMethod(this, &Win32SerialPort::receive, Qt::QueuedConnection);
    return true;
}

bool Win32SerialPort::configure(quint32* error) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    COMMTIMEOUTS timeouts{};
    if (!GetCommState(handle_, &dcb) || !GetCommTimeouts(handle_, &timeouts)) {
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
    if (!SetCommState(handle_, &dcb)) {
        dcb.fDtrControl = DTR_CONTROL_DISABLE;
        dcb.fRtsControl = RTS_CONTROL_DISABLE;
        if (!SetCommState(handle_, &dcb)) {
            *error = GetLastError();
            return false;
        }
    }
    SetupComm(handle_, kReceiveBuffer, kTransmitBuffer); // a request the driver may ignore
    // A read ends when its bytes are there, however long that takes: it asks only for bytes
    // the driver holds, or for one byte to wait on.
    timeouts.ReadIntervalTimeout = 0;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = 0;
    timeouts.WriteTotalTimeoutMultiplier = kWriteMsPerByte;
    timeouts.WriteTotalTimeoutConstant = kWriteMsExtra;
    if (!SetCommTimeouts(handle_, &timeouts)) {
        *error = GetLastError();
        return false;
    }
    return true;
}

void Win32SerialPort::settle(OVERLAPPED& op, bool& pending) {
    if (pending) {
        DWORD count = 0;
        GetOverlappedResult(handle_, &op, &count, TRUE);
        pending = false;
    }
    ResetEvent(op.hEvent);
}

void Win32SerialPort::close() {
    if (!isOpen())
        return;
    // Output already handed over is sent; the write timeout bounds the wait.
    for (int round = 0; round < 2 && (writePending_ || !queued_.isEmpty()); ++round) {
        settle(writeOp_, writePending_);
        startWrite();
    }
    if (!isOpen())
        return;        // the write failed and closed the port
    CancelIo(handle_); // ends the read waiting for a byte
    settle(readOp_, readPending_);
    settle(writeOp_, writePending_);
    CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    writing_.clear();
    queued_.clear();
}

void Win32SerialPort::fail(DWORD code) {
    const QString detail = SystemText(code);
    // Operations under way end with the handle; none of them is collected any more.
    CancelIo(handle_);
    queued_.clear();
    close();
    Q_EMIT failed(detail);
}

bool Win32SerialPort::finished(OVERLAPPED& op, bool& pending, DWORD* count) {
    if (!pending || !isOpen()) {
        ResetEvent(op.hEvent); // a call that completed at once also signals its event
        return false;
    }
    if (!GetOverlappedResult(handle_, &op, count, FALSE)) {
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
    while (isOpen() && !readPending_) {
        DWORD errors = 0;
        COMSTAT status{};
        if (!ClearCommError(handle_, &errors, &status)) {
            fail(GetLastError());
            return;
        }
        if (!startRead(std::max<DWORD>(status.cbInQue, 1)))
            return;
    }
}

bool Win32SerialPort::startRead(DWORD size) {
    size = std::min<DWORD>(size, DWORD(readBuffer_.size()));
    if (!ReadFile(handle_, readBuffer_.data(), size, nullptr, &readOp_)) {
        const DWORD code = GetLastError();
        if (code != ERROR_IO_PENDING) {
            fail(code);
            return false;
        }
        readPending_ = true;
        return false; // onReadDone() carries on
    }
    DWORD count = 0;
    GetOverlappedResult(handle_, &readOp_, &count, FALSE);
    ResetEvent(readOp_.hEvent);
    if (count > 0)
        Q_EMIT bytesReceived(readBuffer_.left(count));
    return isOpen(); // the receiver may have closed the port
}

void Win32SerialPort::onReadDone() {
    DWORD count = 0;
    if (!finished(readOp_, readPending_, &count))
        return;
    if (count > 0)
        Q_EMIT bytesReceived(readBuffer_.left(count));
    receive();
}

// ---------------------------------------------------------------------------------------------
// Sending: one write at a time, the bytes behind it queued.

bool Win32SerialPort::write(QByteArrayView bytes) {
    if (!isOpen())
        return false;
    queued_.append(bytes);
    if (!writePending_)
        startWrite();
    return isOpen();
}

void Win32SerialPort::startWrite() {
    while (isOpen() && !writePending_ && !queued_.isEmpty()) {
        writing_ = std::exchange(queued_, QByteArray());
        if (!WriteFile(handle_, writing_.constData(), DWORD(writing_.size()), nullptr, &writeOp_)) {
            const DWORD code = GetLastError();
            if (code != ERROR_IO_PENDING) {
                fail(code);
                return;
            }
            writePending_ = true;
            return;
        }
        DWORD count = 0;
        GetOverlappedResult(handle_, &writeOp_, &count, FALSE);
        ResetEvent(writeOp_.hEvent);
        if (count < DWORD(writing_.size())) {
            fail(ERROR_TIMEOUT);
            return;
        }
    }
}

void Win32SerialPort::onWriteDone() {
    DWORD count = 0;
    if (!finished(writeOp_, writePending_, &count))
        return;
    if (count < DWORD(writing_.size())) {
        fail(ERROR_TIMEOUT);
        return;
    }
    startWrite();
}

} // namespace tr640::link
