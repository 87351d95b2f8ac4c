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
    QString slavePath() const { return m_slavePath; }

    // Queued when the line is full; never blocks.
    void write(QByteArrayView bytes);

Q_SIGNALS:
    void bytesReceived(const QByteArray& bytes);

private:
    void onReadable();
    void onWritable();
    void closeAll();

    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
    QByteArray m_pending;
    QSocketNotifier* m_readNotifier = nullptr;
    QSocketNotifier* m_writeNotifier = nullptr;
};

} // namespace tr640::sim
