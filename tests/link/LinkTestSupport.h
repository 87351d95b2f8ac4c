#pragma once

// One host for a bare transfer session or a transfer job, with the radio model behind it; it
// records everything that comes out.

#include "RadioModel.h"
#include "codeplug/Hex.h"
#include "link/TransferJob.h"

#include <QRegularExpression>
#include <functional>
#include <utility>

namespace tr640::test {

using link::Direction;
using link::JobResult;
using link::Outcome;
using link::Timer;

inline QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray b;
    for (int v : values)
        b.append(static_cast<char>(v));
    return b;
}

inline QByteArray Ack() {
    return QByteArray(1, 0x06);
}

// Bytes easy to tell apart: byte o is (7o + 3) mod 256.
inline QByteArray PatternImage(int size = 848) {
    QByteArray b(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        b[i] = static_cast<char>((7 * i + 3) & 0xFF);
    return b;
}

// What the radio model holds before a transfer: not the image the host sends.
inline QByteArray OldMemory() {
    QByteArray b = PatternImage(1024);
    for (char& c : b)
        c = static_cast<char>(c ^ 0x5A);
    return b;
}

inline QByteArray Ident(const char* model, int code) {
    return QByteArray(model) + Bytes({code, 0, 0});
}

inline int AddressOf(const QByteArray& frame) {
    return (static_cast<quint8>(frame.at(1)) << 8) | static_cast<quint8>(frame.at(2));
}

enum class Delivery { AsSent, ByteByByte, Joined };

// Drives `session`, or `job` when `viaJob`; the radio's replies wait until pump().
class LinkHost : public link::JobHost {
public:
    explicit LinkHost(sim::RadioModel* model = nullptr, bool throughJob = false)
        : radio(model), viaJob(throughJob) {}

    sim::RadioModel* radio;
    const bool viaJob;
    link::TransferSession session{*this};
    link::TransferJob job{*this};
    Delivery delivery = Delivery::AsSent;
    std::function<void()> duringModal; // runs inside the question or the error box
    QString image = BytesToImageHex(PatternImage());
    int band = 0;
    bool answer = true, keepBeforeWrite = true, portOpens = true;

    QList<QByteArray> sent;
    QByteArray replies; // every byte the radio sent, in order
    QList<QString> reads;
    QList<Outcome> ended;
    QList<link::JobReport> reports;
    QStringList kept; // kinds of the images kept, in order
    QList<QByteArray> keptImages;
    QString errorText;
    int readBand = -1, closed = 0, questions = 0, errors = 0, stageAtError = -1;

    void sendBytes(const QByteArray& frame) override {
        sent.append(frame);
        if (radio)
            pending_.append(radio->receive(frame));
    }
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
    void showCommunicationError(const QString& text) override {
        ++errors;
        errorText = text;
        stageAtError = (viaJob ? job.session() : session).TransferStage();
        if (duringModal)
            duringModal();
    }
    void transferEnded(Outcome o) override { ended.append(o); }
    bool reopenPort() override { return portOpens; }
    bool keepImage(link::ImageKind kind, const QByteArray& bytes, int) override {
        if (kind == link::ImageKind::BeforeWrite && !keepBeforeWrite)
            return false;
        kept << (kind == link::ImageKind::Read          ? "read"
                 : kind == link::ImageKind::BeforeWrite ? "before-write"
                                                        : "write");
        keptImages << bytes;
        return true;
    }
    void jobEnded(const link::JobReport& r) override { reports << r; }

    void receive(const QByteArray& bytes) { viaJob ? job.receive(bytes) : session.receive(bytes); }
    void ticks(Timer t, int n) {
        for (int i = 0; i < n; ++i)
            viaJob ? job.tick(t) : session.tick(t);
    }
    // Hands the radio's replies over until the dialogue rests.
    void pump() {
        while (!pending_.isEmpty()) {
            const QList<QByteArray> now = std::exchange(pending_, {});
            replies += now.join();
            for (const QByteArray& piece : delivery == Delivery::Joined ? QList{now.join()} : now)
                if (delivery == Delivery::ByteByByte)
                    for (char c : piece)
                        receive(QByteArray(1, c));
                else
                    receive(piece);
        }
    }
    void feed(const QByteArray& bytes) {
        receive(bytes);
        pump();
    }
    // Runs a job's dialogues and the pauses between them until it ends or the radio is silent.
    void settle() {
        pump();
        for (int i = 0; i < 20 && job.active() && !job.session().running(); ++i) {
            job.tick(Timer::Blink);
            pump();
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
