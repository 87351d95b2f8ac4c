#pragma once

// A serial port on the Win32 API, for SerialLink on Windows: CreateFileW on \\.\COMn with
// overlapped I/O. A pending ReadFile and WriteFile each signal an event that a
// QWinEventNotifier turns into a call on the opening thread, so bytes are delivered through
// the event loop without a thread of our own and without polling.
//
// Receiving: what the driver holds (ClearCommError) is read at once; when it holds nothing, a
// read of one byte waits for the next byte without a timeout, and what follows it is read as
// held. This needs neither WaitCommEvent nor the "return on the first byte" timeouts, which
// drivers without modem lines (and Wine on a pseudo-terminal) do not all honour.

#include <QByteArray>
#include <QByteArrayView>
#include <QObject>
#include <QString>

#include <qt_windows.h>

class QWinEventNotifier;

namespace tr640::link {

class Win32SerialPort : public QObject {
    Q_OBJECT
public:
    explicit Win32SerialPort(QObject* parent = nullptr);
    ~Win32SerialPort() override;

    // Opens a port ("COM5", or a path of the form \\.\COM5) at 9600 baud, 8 data bits, no
    // parity, 1 stop bit, no flow control, DTR and RTS on. On failure the port stays closed and
    // `error` holds GetLastError() of the step that failed, `detail` the system's text for it.
    bool open(const QString& name, quint32* error, QString* detail);
    // Waits for a write still under way (bounded by the write timeout), then closes.
    void close();
    bool isOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    QString name() const { return name_; }
    // Queues the bytes behind any write under way; false when the port is not open.
    bool write(QByteArrayView bytes);

Q_SIGNALS:
    void bytesReceived(const QByteArray& bytes);
    // A read or a write failed while open (the cable was unplugged); the port is closed.
    void failed(const QString& detail);

private:
    bool configure(quint32* error);
    void receive();
    bool startRead(DWORD size);
    void startWrite();
    void onReadDone();
    void onWriteDone();
    // Collects a finished operation: true with the byte count when done, false when it is
    // still under way or failed (then the port has been closed and failed() emitted).
    bool finished(OVERLAPPED& op, bool& pending, DWORD* count);
    void fail(DWORD code);
    void settle(OVERLAPPED& op, bool& pending);

    HANDLE handle_ = INVALID_HANDLE_VALUE;
    QString name_;
    OVERLAPPED readOp_{};
    OVERLAPPED writeOp_{};
    bool readPending_ = false;
    bool writePending_ = false;
    QByteArray readBuffer_;
    QByteArray writing_; // the bytes of the write under way; must live until it ends
    QByteArray queued_;  // bytes behind it
    QWinEventNotifier* readNotifier_;
    QWinEventNotifier* writeNotifier_;
};

} // namespace tr640::link
