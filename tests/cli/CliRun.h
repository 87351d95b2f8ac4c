#pragma once

// tr640-cli and tr640-radio-sim run as a user runs them, and the files they exchange.

#include <QFile>
#include <QProcess>
#include <QTest>

namespace tr640::test {

inline const QString kCliProgram = QStringLiteral(TR640_BINARY_DIR "/src/cli/tr640-cli");

struct CliResult {
    int status = -1; // -1: it did not finish, or crashed
    QByteArray out, err;
};

inline CliResult RunCli(const QStringList& args) {
    QProcess tool;
    tool.start(kCliProgram, args);
    if (!tool.waitForFinished(60000) || tool.exitStatus() != QProcess::NormalExit)
        return {};
    return {tool.exitCode(), tool.readAllStandardOutput(), tool.readAllStandardError()};
}

inline QByteArray FileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool PutFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A simulated radio on a pseudo-terminal (`port`) while this lives; what it logs is in `log`.
struct SimRadio {
    explicit SimRadio(const QStringList& args = {}) {
        process.start(QStringLiteral(TR640_BINARY_DIR "/tools/radio-sim/tr640-radio-sim"), args);
        if (process.waitForStarted() && process.waitForReadyRead())
            port = QString::fromLocal8Bit(process.readLine()).trimmed();
    }
    ~SimRadio() {
        process.terminate();
        process.waitForFinished();
    }
    bool logs(const QByteArray& text) {
        return QTest::qWaitFor(
            [&] { return (log += process.readAllStandardError()).contains(text); }, 10000);
    }
    QProcess process;
    QString port;
    QByteArray log;
};

} // namespace tr640::test
