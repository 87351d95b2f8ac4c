#pragma once

// A time-stamped hex record of every byte on the line in both directions, kept in memory while
// a transfer runs and written out as one text file when it ends. One line per chunk as it was
// written or received (long chunks continue on further lines), and a line for each note:
//
//   # TR-640 serial trace, 2025-03-01 10:15:00.123 +01:00
//   # write, port /dev/ttyUSB0
//   10:15:00.124  TX  50 52 4F 47 52 41 4D
//   10:15:00.151  RX  06
//   10:15:00.152  --  backup read done

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace tr640::link {

class SerialTrace {
public:
    // Beyond this the trace stops growing and says so: a babbling line cannot fill memory.
    static constexpr qsizetype kLimit = qsizetype(1) << 20;
    static constexpr int kBytesPerLine = 16;

    // Starts a new trace; the header names the transfer and the port.
    void begin(const QString& transfer, const QString& port);
    void sent(QByteArrayView data);
    void received(QByteArrayView data);
    void note(const QString& text);

    const QByteArray& text() const { return text_; }
    bool isEmpty() const { return text_.isEmpty(); }

private:
    void line(const char* tag, const QByteArray& body);
    void bytes(const char* tag, QByteArrayView bytes);

    QByteArray text_;
    bool full_ = false;
};

} // namespace tr640::link
