#include "RadioServer.h"

#include "codeplug/CodeplugFile.h"

#include <cmath>

namespace tr640::sim {

namespace {

constexpr double kByteMs = 1000.0 / 960.0; // 10 bits per byte at 9600 baud
constexpr int kPieceGapMs = 5;
constexpr double kSpinMs = 1.5; // how long before its last byte is due a queue stops using timers

} // namespace

PacedQueue::PacedQueue(Deliver deliver, QObject* parent)
    : QObject(parent), m_deliver(std::move(deliver)) {
    m_clock.start();
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &PacedQueue::drain);
}

double PacedQueue::nowMs() const {
    return double(m_clock.nsecsElapsed()) / 1e6;
}

void PacedQueue::push(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return;
    if (!m_paced && m_queue.isEmpty()) {
        m_deliver(bytes);
        return;
    }
    const double start = qMax(nowMs(), m_lineFreeMs);
    if (m_queue.isEmpty())
        m_headDoneMs = start + kByteMs;
    m_lineFreeMs = start + double(bytes.size()) * kByteMs;
    m_queue.append(bytes);
    drain();
}

void PacedQueue::drain() {
    const double now = nowMs();
    qsizetype count = 0;
    if (!m_paced)
        count = m_queue.size();
    else
        while (count < m_queue.size() && m_headDoneMs + double(count) * kByteMs <= now)
            ++count;
    if (count > 0) {
        const QByteArray out = m_queue.first(count);
        m_queue.remove(0, count);
        m_headDoneMs += double(count) * kByteMs;
        m_deliver(out);
    }
    if (m_queue.isEmpty())
        return;
    // Timers fire on whole milliseconds and late, which would hold every frame's last byte up
    // to a couple of milliseconds. Bytes in the middle of a frame may arrive a little late
    // without effect, so timers do for them; the last byte is waited for exactly.
    const double lastDoneMs = m_lineFreeMs;
    const double left = lastDoneMs - nowMs();
    if (left < kSpinMs) {
        while (nowMs() < lastDoneMs) {
        }
        const QByteArray rest = m_queue;
        m_queue.clear();
        m_headDoneMs = lastDoneMs;
        m_deliver(rest);
        return;
    }
    const int untilHead = int(std::ceil(m_headDoneMs - nowMs()));
    const int beforeLast = int(std::floor(left - kSpinMs));
    m_timer.start(qMax(0, qMin(untilHead, beforeLast)));
}

RadioServer::RadioServer(RadioModel& model, Writer writer, QObject* parent)
    : QObject(parent), m_model(model),
      m_inbound(new PacedQueue([this](const QByteArray& b) { handleInbound(b); }, this)),
      m_outbound(new PacedQueue(std::move(writer), this)) {
    m_pieceGap.setSingleShot(true);
    connect(&m_pieceGap, &QTimer::timeout, this, &RadioServer::sendNextPiece);
}

void RadioServer::setPaced(bool on) {
    m_inbound->setPaced(on);
    m_outbound->setPaced(on);
}

void RadioServer::feed(const QByteArray& bytes) {
    m_inbound->push(bytes);
}

bool RadioServer::idle() const {
    return m_inbound->idle() && m_outbound->idle() && m_pieces.isEmpty();
}

void RadioServer::handleInbound(const QByteArray& bytes) {
    const int writesBefore = m_model.completedWrites();
    m_pieces.append(m_model.receive(bytes));
    if (!m_pieceGap.isActive())
        sendNextPiece();
    if (m_model.completedWrites() != writesBefore && !m_savePath.isEmpty()) {
        const FileStatus st = WriteFileAtomically(m_savePath, m_model.image());
        Q_EMIT saved(m_savePath, st.ok()               ? QString()
                                 : st.detail.isEmpty() ? QStringLiteral("cannot write the file")
                                                       : st.detail);
    }
}

void RadioServer::sendNextPiece() {
    while (!m_pieces.isEmpty()) {
        m_outbound->push(m_pieces.takeFirst());
        if (m_model.faults().split && !m_pieces.isEmpty()) {
            m_pieceGap.start(kPieceGapMs);
            return;
        }
    }
}

} // namespace tr640::sim
