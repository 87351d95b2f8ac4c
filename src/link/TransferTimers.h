#pragma once

// Three QTimers that follow a TransferSession: call sync() from TransferHost::stateChanged()
// and each timer runs exactly while the session wants it, ticking the session on timeout (or
// whatever drives the session, a TransferJob).

#include "link/TransferSession.h"

#include <QObject>
#include <QTimer>
#include <array>
#include <functional>

namespace tr640::link {

class TransferTimers : public QObject {
    Q_OBJECT
public:
    using Tick = std::function<void(Timer)>;
    explicit TransferTimers(TransferSession& session, QObject* parent = nullptr);
    TransferTimers(TransferSession& session, Tick tick, QObject* parent = nullptr);

    void sync();
    const QTimer& timer(Timer t) const { return *timers_[static_cast<int>(t)]; }

private:
    TransferSession& session_;
    Tick tick_;
    std::array<QTimer*, kTimerCount> timers_{};
};

} // namespace tr640::link
