#pragma once

// Puts a RadioModel on a line: optional pacing of every byte at 9600 baud in both directions,
// gaps between the pieces of a split reply, and saving the memory after each write.

#include "RadioModel.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

namespace tr640::sim {

// A FIFO of bytes that, when paced, lets each byte through 1/960 s after the one before.
class PacedQueue : public QObject {
    Q_OBJECT
public:
    using Deliver = std::function<void(const QByteArray&)>;
    explicit PacedQueue(Deliver deliver, QObject* parent = nullptr);

    void setPaced(bool on) { paced_ = on; }
    void push(const QByteArray& bytes);
    bool idle() const { return queue_.isEmpty(); }

private:
    void drain();
    double nowMs() const;

    Deliver deliver_;
    bool paced_ = false;
    QByteArray queue_;
    double headDoneMs_ = 0; // when the byte at the front has fully arrived
    double lineFreeMs_ = 0; // when the last queued byte has fully arrived
    QElapsedTimer clock_;
    QTimer timer_;
};

class RadioServer : public QObject {
    Q_OBJECT
public:
    using Writer = std::function<void(const QByteArray&)>;
    RadioServer(RadioModel& model, Writer writer, QObject* parent = nullptr);

    void setPaced(bool on);
    // Written (848 bytes from 0x0010, atomically) after each completed write.
    void setSavePath(const QString& path) { savePath_ = path; }

    // Bytes that arrived on the line.
    void feed(const QByteArray& bytes);
    // Nothing waiting in either direction.
    bool idle() const;

Q_SIGNALS:
    void saved(const QString& path, const QString& error); // error empty on success

private:
    void handleInbound(const QByteArray& bytes);
    void sendNextPiece();

    RadioModel& model_;
    PacedQueue* inbound_;
    PacedQueue* outbound_;
    QList<QByteArray> pieces_;
    QTimer pieceGap_;
    QString savePath_;
};

} // namespace tr640::sim
