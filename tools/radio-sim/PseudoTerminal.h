#pragma once

// The master side of a pseudo-terminal (POSIX). The slave device behaves like a serial port
// to the programming software; the simulator reads and writes the master side.

#include <QByteArray>
#include <QByteArrayView>
#include <QObject>
#include <QString>

class QSocketNotifier;

namespace tr640::sim {

class PseudoTerminal : public QObject {
    Q_OBJECT
public:
    explicit PseudoTerminal(QObject* parent = nullptr);
    ~PseudoTerminal() override;

    // Creates the pair in raw mode. The slave stays open here as well, so that the master
    // keeps working while the programming software closes and reopens its side.
    bool open(QString* error);
    QString slavePath() const { return slavePath_; }

    // Queued when the line is full; never blocks.
    void write(QByteArrayView bytes);

Q_SIGNALS:
    void bytesReceived(const QByteArray& bytes);

private:
    void onReadable();
    void onWritable();
    void closeAll();

    int master_ = -1;
    int slave_ = -1;
    QString slavePath_;
    QByteArray pending_;
    QSocketNotifier* readNotifier_ = nullptr;
    QSocketNotifier* writeNotifier_ = nullptr;
};

} // namespace tr640::sim
