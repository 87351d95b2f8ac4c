#pragma once

// Shared by the fuzz targets: a property check that stops the run (libFuzzer then keeps the
// input as a crash artifact), and a scratch folder for targets that go through real files.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace tr640::fuzz {

[[noreturn]] inline void Violated(const char* file, int line, const char* what) {
    std::fprintf(stderr, "%s:%d: property violated: %s\n", file, line, what);
    std::fflush(stderr);
    std::abort();
}

// A folder for the whole run, in memory where the system offers one.
inline const QDir& ScratchDir() {
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/tr640-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/tr640-fuzz-XXXXXX"));
    static const QDir path(dir.path());
    return path;
}

inline bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

inline QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace tr640::fuzz

#define FUZZ_REQUIRE(condition)                                                                    \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::tr640::fuzz::Violated(__FILE__, __LINE__, #condition);                               \
    } while (0)
