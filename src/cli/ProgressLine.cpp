#include "cli/ProgressLine.h"

#include <QString>

#include <algorithm>
#include <cstdio>
#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace tr640::cli {

namespace {
constexpr int kBarWidth = 20;
} // namespace

ProgressLine::ProgressLine(QTextStream& out, bool terminal, int maximum)
    : out_(out), terminal_(terminal), maximum_(std::max(maximum, 1)) {}

bool ProgressLine::StandardErrorIsTerminal() {
#ifdef Q_OS_WIN
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(fileno(stderr)) != 0;
#endif
}

void ProgressLine::show(int value) {
    const int percent = std::clamp(value, 0, maximum_) * 100 / maximum_;
    const int step = terminal_ ? percent : percent / 10;
    if (step <= shown_)
        return;
    shown_ = step;
    if (!terminal_) {
        out_ << "progress " << step * 10 << "%\n";
        out_.flush();
        return;
    }
    const int filled = percent * kBarWidth / 100;
    out_ << '\r' << '[' << QString(filled, u'#') << QString(kBarWidth - filled, u' ') << "] "
         << qSetFieldWidth(3) << percent << qSetFieldWidth(0) << '%';
    out_.flush();
    open_ = true;
}

void ProgressLine::finish() {
    if (open_)
        out_ << '\n';
    open_ = false;
    out_.flush();
}

} // namespace tr640::cli
