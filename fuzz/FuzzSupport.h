#pragma once

// Shared by the fuzz targets: a property check that stops the run (libFuzzer then keeps the
// input as a crash artifact), a scratch folder for targets that go through real files, and the
// checks on a codeplug filled from outside.

#include "codeplug/BandTable.h"
#include "codeplug/ChannelRules.h"
#include "codeplug/EditorState.h"

#include <QDir>
#include <QFile>
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

// True when `twice` (saved after opening `once`) holds the same bytes, but for a look-back
// time (0x152, 0x153) that `once` holds as "none": written as 0xFF, which the decoder does not
// take, so the next decode keeps the earlier value. The one setting a file cannot carry.
inline bool SameOnSecondSave(const QByteArray& once, const QByteArray& twice) {
    if (once.size() != twice.size())
        return false;
    for (qsizetype i = 0; i < once.size(); ++i)
        if (once[i] != twice[i] && !((i == 0x152 || i == 0x153) && once[i] == '\xFF'))
            return false;
    return true;
}

// What the grid's editors would accept in this cell of a channel in use, for its band.
inline bool Acceptable(const EditorState& s, int row, int col) {
    const QString& text = s.cell(row, col);
    const QString band = QString::fromLatin1(Band(s.Band).text);
    if ((col == ColTxFrequency || col == ColTxTone) && text.isEmpty() &&
        s.cell(row, ColTxFrequency).isEmpty())
        return true; // receive only
    if (IsFrequencyColumn(col))
        return ChannelFrequency(text, BandLowFromText(band), BandHighFromText(band)) == text;
    if (IsToneColumn(col)) {
        const auto tone = ChannelTone(text, s.Language);
        return tone && tone->text == text && tone->position == s.listIndex(row, col);
    }
    const auto entry = FlagEntry(col, text);
    return entry && *entry == s.listIndex(row, col);
}

inline bool AllAcceptable(const EditorState& s) {
    for (int row = 1; row <= kChannelCount; ++row)
        for (int col = ColRxFrequency; col < kGridColumns && s.channelInUse(row); ++col)
            if (!Acceptable(s, row, col))
                return false;
    return true;
}

inline bool SameChannel(const EditorState& a, const EditorState& b, int row) {
    for (int col = ColRxFrequency; col < kGridColumns; ++col)
        if (a.cell(row, col) != b.cell(row, col))
            return false;
    return true;
}

inline bool SameChannels(const EditorState& a, const EditorState& b) {
    for (int row = 1; row <= kChannelCount; ++row)
        if (!SameChannel(a, b, row))
            return false;
    return true;
}

} // namespace tr640::fuzz

#define FUZZ_REQUIRE(condition)                                                                    \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::tr640::fuzz::Violated(__FILE__, __LINE__, #condition);                               \
    } while (0)
