#include "link/TransferTimers.h"

namespace tr640::link {

namespace {

constexpr std::array<Timer, kTimerCount> kAllTimers{Timer::Watchdog, Timer::Blink, Timer::Retry};
constexpr std::array<const char*, kTimerCount> kNames{"Timer1", "Timer2", "Timer3"};

} // namespace

TransferTimers::TransferTimers(TransferSession& session, QObject* parent)
    : TransferTimers(
          session, [&session](Timer t) { session.tick(t); }, parent) {}

TransferTimers::TransferTimers(TransferSession& session, Tick tick, QObject* parent)
    : QObject(parent), session_(session), tick_(std::move(tick)) {
    for (Timer t : kAllTimers) {
        auto* timer = new QTimer(this);
        timer->setObjectName(QString::fromLatin1(kNames[static_cast<int>(t)]));
        timer->setInterval(TimerInterval(t));
        // A coarse timer may fire up to 5 % early, which would give up on a radio too soon.
        timer->setTimerType(Qt::PreciseTimer);
        connect(timer, &QTimer::timeout, this, [this, t] { tick_(t); });
        timers_[static_cast<int>(t)] = timer;
    }
}

void TransferTimers::sync() {
    for (Timer t : kAllTimers) {
        QTimer* timer = timers_[static_cast<int>(t)];
        const bool wanted = session_.isTimerActive(t);
        if (wanted && !timer->isActive())
            timer->start();
        else if (!wanted && timer->isActive())
            timer->stop();
    }
}

} // namespace tr640::link
