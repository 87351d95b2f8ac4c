#pragma once

// Shared by the fuzz targets: a property check that stops the run (libFuzzer keeps the input),
// a scratch folder, and what the grid's editors accept in a codeplug filled from outside.

#include "codeplug/BandTable.h"
#include "codeplug/ChannelRules.h"
#include "codeplug/EditorState.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

#define FUZZ_REQUIRE(condition)                                                                    \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: property violated: %s\n", __FILE__, __LINE__,             \
                         #condition);                                                              \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

namespace tr640::fuzz {

inline QString ScratchFile(const char* name) {
    static QTemporaryDir dir;
    return dir.filePath(QLatin1String(name));
}

inline bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

inline QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
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
