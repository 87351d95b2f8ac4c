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
    : QObject(parent), deliver_(std::move(deliver)) {
    clock_.start();
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &PacedQueue::drain);
}

double PacedQueue::nowMs() const {
    return double(clock_.nsecsElapsed()) / 1e6;
}

void PacedQueue::push(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return;
    if (!paced_ && queue_.isEmpty()) {
        deliver_(bytes);
        return;
    }
    const double start = qMax(nowMs(), lineFreeMs_);
    if (queue_.isEmpty())
        headDoneMs_ = start + kByteMs;
    lineFreeMs_ = start + double(bytes.size()) * kByteMs;
    queue_.append(bytes);
    drain();
}

void PacedQueue::drain() {
    const double now = nowMs();
    qsizetype count = 0;
    if (!paced_)
        count = queue_.size();
    else
        while (count < queue_.size() && headDoneMs_ + double(count) * kByteMs <= now)
            ++count;
    if (count > 0) {
        const QByteArray out = queue_.first(count);
        queue_.remove(0, count);
        headDoneMs_ += double(count) * kByteMs;
        deliver_(out);
    }
    if (queue_.isEmpty())
        return;
    // Timers fire on whole milliseconds and late, which would hold every frame's last byte up
    // to a couple of milliseconds. Bytes in the middle of a frame may arrive a little late
    // without effect, so timers do for them; the last byte is waited for exactly.
    const double lastDoneMs = lineFreeMs_;
    const double left = lastDoneMs - nowMs();
    if (left < kSpinMs) {
        while (nowMs() < lastDoneMs) {
        }
        const QByteArray rest = queue_;
        queue_.clear();
        headDoneMs_ = lastDoneMs;
        deliver_(rest);
        return;
    }
    const int untilHead = int(std::ceil(headDoneMs_ - nowMs()));
    const int beforeLast = int(std::floor(left - kSpinMs));
    timer_.start(qMax(0, qMin(untilHead, beforeLast)));
}

RadioServer::RadioServer(RadioModel& model, Writer writer, QObject* parent)
    : QObject(parent), model_(model),
      inbound_(new PacedQueue([this](const QByteArray& b) { handleInbound(b); }, this)),
      outbound_(new PacedQueue(std::move(writer), this)) {
    pieceGap_.setSingleShot(true);
    connect(&pieceGap_, &QTimer::timeout, this, &RadioServer::sendNextPiece);
}

void RadioServer::setPaced(bool on) {
    inbound_->setPaced(on);
    outbound_->setPaced(on);
}

void RadioServer::feed(const QByteArray& bytes) {
    inbound_->push(bytes);
}

bool RadioServer::idle() const {
    return inbound_->idle() && outbound_->idle() && pieces_.isEmpty();
}

void RadioServer::handleInbound(const QByteArray& bytes) {
    const int writesBefore = model_.completedWrites();
    pieces_.append(model_.receive(bytes));
    if (!pieceGap_.isActive())
        sendNextPiece();
    if (model_.completedWrites() != writesBefore && !savePath_.isEmpty()) {
        const FileStatus st = WriteFileAtomically(savePath_, model_.image());
        Q_EMIT saved(savePath_, st.ok()               ? QString()
                                : st.detail.isEmpty() ? QStringLiteral("cannot write the file")
                                                      : st.detail);
    }
}

void RadioServer::sendNextPiece() {
    while (!pieces_.isEmpty()) {
        outbound_->push(pieces_.takeFirst());
        if (model_.faults().split && !pieces_.isEmpty()) {
            pieceGap_.start(kPieceGapMs);
            return;
        }
    }
}

} // namespace tr640::sim
