#pragma once

// Three QTimers that follow a TransferSession: call sync() from TransferHost::stateChanged()
// and each timer runs exactly while the session wants it, ticking the session on timeout.

#include "link/TransferSession.h"

#include <QObject>
#include <QTimer>
#include <array>

namespace tr640::link {

class TransferTimers : public QObject {
    Q_OBJECT
public:
    explicit TransferTimers(TransferSession& session, QObject* parent = nullptr);

    void sync();
    const QTimer& timer(Timer t) const { return *m_timers[static_cast<int>(t)]; }

private:
    TransferSession& m_session;
    std::array<QTimer*, kTimerCount> m_timers{};
};

} // namespace tr640::link
