#pragma once

// A transfer host that records what the session does, optionally wired to a radio model.

#include "RadioModel.h"
#include "codeplug/Hex.h"
#include "link/TransferSession.h"

#include <QByteArray>
#include <QList>
#include <functional>

namespace tr640::test {

using link::Direction;
using link::Outcome;
using link::Timer;

// An image whose bytes are easy to tell apart: byte o is (7o + 3) mod 256.
inline QByteArray PatternImage(int size = 848) {
    QByteArray b(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        b[i] = static_cast<char>((7 * i + 3) & 0xFF);
    return b;
}

enum class Delivery { AsSent, ByteByByte, Joined };

class FakeHost : public link::TransferHost {
public:
    FakeHost() : session(*this) {}

    link::TransferSession session;
    sim::RadioModel* radio = nullptr;            // when set, every frame goes to it
    std::function<void(const QByteArray&)> wire; // or, when set, to a port
    std::function<void()> onClose;
    Delivery delivery = Delivery::AsSent;

    QList<QByteArray> sent;
    int closed = 0;
    QString image = BytesToImageHex(PatternImage());
    int band = 0;
    QList<QString> reads;
    int readBand = -1;
    int questions = 0;
    bool answer = true;
    int errors = 0;
    int stageAtError = -1;
    QList<Outcome> ended;
    std::function<void()> duringModal; // runs inside the question or the error box

    void sendBytes(const QByteArray& frame) override {
        sent.append(frame);
        if (wire)
            wire(frame);
        else if (radio)
            m_pending.append(radio->receive(frame));
    }
    void closePort() override {
        ++closed;
        if (onClose)
            onClose();
    }
    QString encodeCodeplug() override { return image; }
    int selectedBand() const override { return band; }
    void applyRead(const QString& hex, int radioBand) override {
        reads.append(hex);
        readBand = radioBand;
    }
    bool askBandQuestion(const QString&) override {
        ++questions;
        if (duringModal)
            duringModal();
        return answer;
    }
    void showCommunicationError(const QString&) override {
        ++errors;
        stageAtError = session.TransferStage();
        if (duringModal)
            duringModal();
    }
    void transferEnded(Outcome o) override { ended.append(o); }

    // Hands the radio's replies to the session until the dialogue rests.
    void pump() {
        while (!m_pending.isEmpty()) {
            QList<QByteArray> now;
            now.swap(m_pending);
            if (delivery == Delivery::Joined)
                now = {now.join()};
            for (const QByteArray& piece : now) {
                if (delivery == Delivery::ByteByByte)
                    for (char c : piece)
                        session.receive(QByteArray(1, c));
                else
                    session.receive(piece);
            }
        }
    }

    void feed(const QByteArray& bytes) {
        session.receive(bytes);
        pump();
    }

    // Frames whose first byte is `kind`.
    QList<QByteArray> framesOf(char kind) const {
        QList<QByteArray> out;
        for (const QByteArray& f : sent)
            if (!f.isEmpty() && f.front() == kind)
                out.append(f);
        return out;
    }

private:
    QList<QByteArray> m_pending;
};

inline int AddressOf(const QByteArray& frame) {
    return (static_cast<quint8>(frame.at(1)) << 8) | static_cast<quint8>(frame.at(2));
}

inline QByteArray Ident(const char* model, char code) {
    QByteArray b(model);
    b.append(code);
    b.append(2, '\0');
    return b;
}

} // namespace tr640::test
