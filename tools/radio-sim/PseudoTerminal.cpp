#include "PseudoTerminal.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace tr640::sim {

namespace {

// Input queued beyond this (nobody reading the slave) is dropped, as a line would lose it.
constexpr qsizetype kPendingLimit = 64 * 1024;

QString SystemError(const char* what) {
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

PseudoTerminal::PseudoTerminal(QObject* parent) : QObject(parent) {}

PseudoTerminal::~PseudoTerminal() {
    closeAll();
}

void PseudoTerminal::closeAll() {
    delete readNotifier_;
    readNotifier_ = nullptr;
    delete writeNotifier_;
    writeNotifier_ = nullptr;
    if (slave_ >= 0)
        ::close(slave_);
    if (master_ >= 0)
        ::close(master_);
    slave_ = master_ = -1;
}

bool PseudoTerminal::open(QString* error) {
    closeAll();
    const auto fail = [&](const char* what) {
        if (error)
            *error = SystemError(what);
        closeAll();
        return false;
    };
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0)
        return fail("posix_openpt");
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
        return fail("grantpt/unlockpt");
    const char* name = ::ptsname(master_);
    if (!name)
        return fail("ptsname");
    slavePath_ = QString::fromLocal8Bit(name);
    slave_ = ::open(name, O_RDWR | O_NOCTTY);
    if (slave_ < 0)
        return fail("open slave");
    termios raw{};
    if (::tcgetattr(slave_, &raw) != 0)
        return fail("tcgetattr");
    ::cfmakeraw(&raw);
    ::cfsetispeed(&raw, B9600);
    ::cfsetospeed(&raw, B9600);
    if (::tcsetattr(slave_, TCSANOW, &raw) != 0)
        return fail("tcsetattr");
    const int flags = ::fcntl(master_, F_GETFL);
    if (flags < 0 || ::fcntl(master_, F_SETFL, flags | O_NONBLOCK) != 0)
        return fail("fcntl");

    readNotifier_ = new QSocketNotifier(master_, QSocketNotifier::Read, this);
    connect(readNotifier_, &QSocketNotifier::activated, this, &PseudoTerminal::onReadable);
    writeNotifier_ = new QSocketNotifier(master_, QSocketNotifier::Write, this);
    writeNotifier_->setEnabled(false);
    connect(writeNotifier_, &QSocketNotifier::activated, this, &PseudoTerminal::onWritable);
    return true;
}

void PseudoTerminal::onReadable() {
    char buffer[512];
    const ssize_t n = ::read(master_, buffer, sizeof buffer);
    if (n > 0)
        Q_EMIT bytesReceived(QByteArray(buffer, n));
}

void PseudoTerminal::write(QByteArrayView bytes) {
    if (master_ < 0)
        return;
    pending_.append(bytes);
    if (pending_.size() > kPendingLimit)
        pending_.remove(0, pending_.size() - kPendingLimit);
    onWritable();
}

void PseudoTerminal::onWritable() {
    while (!pending_.isEmpty()) {
        const ssize_t n = ::write(master_, pending_.constData(), size_t(pending_.size()));
        if (n <= 0)
            break;
        pending_.remove(0, n);
    }
    if (writeNotifier_)
        writeNotifier_->setEnabled(!pending_.isEmpty());
}

} // namespace tr640::sim
