#pragma once

// The progress of a transfer on standard error. On a terminal it is one line drawn again in
// place, "[########            ]  40%"; otherwise (a log file, a pipe) a line "progress 40%"
// at each tenth at most. Whatever is printed next starts on a line of its own.

#include <QTextStream>

namespace tr640::cli {

class ProgressLine {
public:
    ProgressLine(QTextStream& out, bool terminal, int maximum);

    // Whether standard error is a terminal.
    static bool StandardErrorIsTerminal();

    void show(int value);
    // Ends a line drawn in place, before other text is printed.
    void finish();

private:
    QTextStream& out_;
    bool terminal_;
    int maximum_;
    int shown_ = -1; // percentage on a terminal, tenth otherwise
    bool open_ = false;
};

} // namespace tr640::cli
