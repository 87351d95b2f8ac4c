#pragma once

#include <QStringList>
#include <QTextStream>

namespace tr640::cli {

// Exit statuses of tr640-cli.
enum ExitCode : int {
    ExitOk = 0,
    ExitFileError = 1,
    ExitUsage = 2,
    ExitCommunication = 3,
    ExitBandRefused = 4,
    ExitRowsRejected = 5,
    ExitVerifyFailed = 6,
};

// Standard output and error of the tool, UTF-8.
QTextStream& Out();
QTextStream& Err();

// A usage error: prints the message and the usage text on stderr, returns ExitUsage.
int UsageError(const QString& message);

// Each command gets the arguments after its name.
int RunShow(const QStringList& args);
int RunResave(const QStringList& args);
int RunRead(const QStringList& args);
int RunWrite(const QStringList& args);

} // namespace tr640::cli
