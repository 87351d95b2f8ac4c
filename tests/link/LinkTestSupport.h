#pragma once

// A transfer host that records what the session does, with a radio model behind it.

#include "RadioModel.h"
#include "codeplug/Hex.h"
#include "link/TransferSession.h"

#include <QByteArray>
#include <QList>
#include <QRegularExpression>
#include <functional>
#include <utility>

namespace tr640::test {

using link::Direction;
using link::Outcome;
using link::Timer;

inline QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray b;
    for (int v : values)
        b.append(static_cast<char>(v));
    return b;
}

// Bytes easy to tell apart: byte o is (7o + 3) mod 256.
inline QByteArray PatternImage(int size = 848) {
    QByteArray b(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        b[i] = static_cast<char>((7 * i + 3) & 0xFF);
    return b;
}

inline QByteArray Ident(const char* model, int code) {
    return QByteArray(model) + Bytes({code, 0, 0});
}

inline int AddressOf(const QByteArray& frame) {
    return (static_cast<quint8>(frame.at(1)) << 8) | static_cast<quint8>(frame.at(2));
}

enum class Delivery { AsSent, ByteByByte, Joined };

// The frames a host sent, with the radio model behind it: its replies wait until pump().
class RadioLine {
public:
    sim::RadioModel* radio = nullptr;
    QList<QByteArray> sent;
    QByteArray replies; // every byte the radio sent, in order

    void send(const QByteArray& frame) {
        sent.append(frame);
        if (radio)
            pending_.append(radio->receive(frame));
    }
    // Hands the radio's replies to `deliver` until the dialogue rests.
    template <typename Deliver> void pumpInto(Deliver deliver) {
        while (!pending_.isEmpty()) {
            const QList<QByteArray> now = std::exchange(pending_, {});
            for (const QByteArray& piece : now)
                replies += piece;
            deliver(now);
        }
    }
    QList<QByteArray> framesOf(char kind) const {
        QList<QByteArray> out;
        for (const QByteArray& f : sent)
            if (f.front() == kind)
                out.append(f);
        return out;
    }

private:
    QList<QByteArray> pending_;
};

class FakeHost : public link::TransferHost, public RadioLine {
public:
    link::TransferSession session{*this};
    std::function<void()> duringModal; // runs inside the question or the error box
    Delivery delivery = Delivery::AsSent;
    QString image = BytesToImageHex(PatternImage());
    int band = 0;
    bool answer = true;

    QList<QString> reads;
    QList<Outcome> ended;
    int readBand = -1, closed = 0, questions = 0, errors = 0, stageAtError = -1;

    void sendBytes(const QByteArray& frame) override { send(frame); }
    void closePort() override { ++closed; }
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

    void pump() {
        pumpInto([this](const QList<QByteArray>& now) {
            for (const QByteArray& piece : delivery == Delivery::Joined ? QList{now.join()} : now)
                if (delivery == Delivery::ByteByByte)
                    for (char c : piece)
                        session.receive(QByteArray(1, c));
                else
                    session.receive(piece);
        });
    }
    void feed(const QByteArray& bytes) {
        session.receive(bytes);
        pump();
    }
    void ticks(Timer t, int n) {
        for (int i = 0; i < n; ++i)
            session.tick(t);
    }
};

// The bytes of a serial trace in one direction ("TX" or "RX"), joined; `bad` counts lines that
// are neither comments nor time-stamped entries.
inline QByteArray TraceBytes(const QByteArray& trace, const char* direction, int* bad = nullptr) {
    static const QRegularExpression entry(
        QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d{3}  (TX|RX|--)  (.*)$"));
    QByteArray bytes;
    int wrong = 0;
    for (const QByteArray& line : trace.split('\n')) {
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QRegularExpressionMatch m = entry.match(QString::fromUtf8(line));
        if (!m.hasMatch()) {
            ++wrong;
            continue;
        }
        if (m.captured(1) == QLatin1String(direction))
            bytes += QByteArray::fromHex(m.captured(2).toLatin1());
    }
    if (bad)
        *bad = wrong;
    return bytes;
}

} // namespace tr640::test
