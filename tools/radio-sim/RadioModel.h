#pragma once

// The radio's side of the programming dialogue, without any I/O: bytes from the PC in, reply
// bytes out. The memory covers radio addresses 0x0010-0x040F and starts erased (0xFF).

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QtGlobal>
#include <functional>

namespace tr640::sim {

inline constexpr int kMemoryBase = 0x0010;
inline constexpr int kMemorySize = 1024; // 0x0010-0x040F
inline constexpr int kImageBytes = 848;  // 0x0010-0x035F, what a *.DAT file holds
inline constexpr quint8 kDefaultBandCode = 0x33;

// Misbehaviour on request, to see how the PC copes.
struct RadioFaults {
    bool silent = false;       // never answer
    int stopAfter = -1;        // answer the first N frames from the PC, then play dead
    bool garbage = false;      // line noise (no 0x06 byte) ahead of the ack to PROGRAM
    bool wrongAddress = false; // the third data frame of a session names the next block
    bool split = false;        // each reply of more than one byte in three pieces
    int corruptAddress = -1;   // a byte written to this address is stored inverted
};

class RadioModel {
public:
    explicit RadioModel(quint8 bandCode = kDefaultBandCode, RadioFaults faults = {});

    // Memory from address 0x0010 on; bytes beyond `image` keep their value.
    void setMemory(QByteArrayView image);
    const QByteArray& memory() const { return memory_; }
    QByteArray image() const { return memory_.first(kImageBytes); }
    quint8 bandCode() const { return bandCode_; }
    const RadioFaults& faults() const { return faults_; }

    // Bytes from the PC. Returns the reply pieces, to be sent in order (one piece per reply
    // frame unless split). Incomplete frames wait for more bytes; stray bytes are dropped.
    QList<QByteArray> receive(QByteArrayView bytes);

    int framesReceived() const { return frames_; }
    // Writes ended by 'E' after at least one stored frame.
    int completedWrites() const { return completedWrites_; }
    bool inProgramMode() const { return programMode_; }

    // One line per frame in either direction, without time stamps.
    void setLogger(std::function<void(const QString&)> log) { log_ = std::move(log); }

    // The identification reply of a radio of this band.
    static QByteArray IdentificationReply(quint8 bandCode);
    // The burst sent with `garbage`.
    static QByteArray GarbageBurst();

private:
    // Length of the frame at the front of the buffer; 0 when more bytes are needed, -1 for
    // a byte that starts no frame.
    int frameLength() const;
    void handle(const QByteArray& frame, QList<QByteArray>& out);
    void reply(const QByteArray& bytes, const QString& what, QList<QByteArray>& out);
    void log(const QString& line) const;

    QByteArray memory_;
    quint8 bandCode_;
    RadioFaults faults_;
    QByteArray in_;
    bool programMode_ = false;
    int frames_ = 0;
    int readsThisSession_ = 0;
    int writesThisSession_ = 0;
    int completedWrites_ = 0;
    std::function<void(const QString&)> log_;
};

// "--band" values: a band position 0..6, or a code in hex ("33", "0x01"). False if neither.
bool ParseBandCode(const QString& text, quint8* code);

} // namespace tr640::sim
