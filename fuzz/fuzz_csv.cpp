// The CHIRP CSV import on any file, with any placement, into a codeplug of any band.
//
// Input: one byte of options (bits 0-1 placement, bit 2 keep the other channels, bits 3-5 the
// band, bit 6 English, bit 7 the base codeplug has channels of its own), then the file.
//
// Properties: an unreadable file changes nothing; every imported row lands on its own channel
// 1..16; every channel of the result holds only what the grid's editors accept for that band;
// channels the file does not set are kept or cleared as asked; exporting the result and
// importing that again gives the same channels; and the result survives a save and an open.

#include "FuzzSupport.h"

#include "codeplug/BandTable.h"
#include "codeplug/ChannelRules.h"
#include "codeplug/ChirpCsv.h"
#include "codeplug/Codec.h"
#include "i18n/CsvTexts.h"

#include <cstddef>
#include <cstdint>

using namespace tr640;

namespace {

EditorState Base(quint8 options) {
    EditorState s;
    s.Band = s.CurrentBandIndex = ((options >> 3) & 7) % kBandCount;
    s.Language = (options >> 6) & 1;
    if (options & 0x80) {
        const int low = BandLowFromText(QString::fromLatin1(Band(s.Band).text));
        const int high = BandHighFromText(QString::fromLatin1(Band(s.Band).text));
        SetChannelCell(s, 2, ColRxFrequency, QString::number(low + 1), low, high);
        SetChannelCell(s, 16, ColRxFrequency, QString::number(low), low, high);
        SetChannelCell(s, 16, ColTxTone, QStringLiteral("D023N"), low, high);
        FUZZ_REQUIRE(s.channelInUse(2) && s.channelInUse(16));
    }
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const quint8 options = data[0];
    const QByteArray file(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    CsvImportOptions how;
    how.placement = (options & 3) == 1   ? CsvPlacement::ByLocation
                    : (options & 3) == 2 ? CsvPlacement::InOrder
                                         : CsvPlacement::Automatic;
    how.others = (options & 4) ? CsvChannelsNotInFile::Kept : CsvChannelsNotInFile::Cleared;
    const EditorState base = Base(options);

    const CsvImportResult r = ImportChirpCsv(file, base, how);
    FUZZ_REQUIRE(!CsvImportSummary(r, base.Language).isEmpty());
    if (!r.fileReadable()) {
        FUZZ_REQUIRE(r.state == base);
        FUZZ_REQUIRE(r.imported.isEmpty());
        return 0;
    }
    FUZZ_REQUIRE(r.state.Band == base.Band);

    bool assigned[kChannelCount + 1] = {};
    int lastLine = 0;
    for (const CsvAssignment& a : r.imported) {
        FUZZ_REQUIRE(a.channel >= 1 && a.channel <= kChannelCount);
        FUZZ_REQUIRE(!assigned[a.channel]);
        FUZZ_REQUIRE(a.line > lastLine);
        assigned[a.channel] = true;
        lastLine = a.line;
        FUZZ_REQUIRE(r.state.channelInUse(a.channel));
    }
    for (const CsvIssue& issue : r.rejected) {
        FUZZ_REQUIRE(issue.line >= 1);
        FUZZ_REQUIRE(!CsvIssueText(issue, base.Language).isEmpty());
    }
    for (int row = 1; row <= kChannelCount; ++row) {
        if (!assigned[row]) {
            if (r.others == CsvChannelsNotInFile::Kept)
                FUZZ_REQUIRE(fuzz::SameChannel(r.state, base, row));
            else
                FUZZ_REQUIRE(!r.state.channelInUse(row));
        }
    }
    FUZZ_REQUIRE(fuzz::AllAcceptable(r.state));

    // Exported and imported again: the same channels, nothing refused.
    const CsvImportResult again = ImportChirpCsv(ExportChirpCsvFile(r.state), r.state);
    FUZZ_REQUIRE(again.clean());
    FUZZ_REQUIRE(fuzz::SameChannels(again.state, r.state));

    // Saved and opened: the same channels.
    EditorState opened;
    opened.Language = r.state.Language;
    DecodeImage(opened, EncodeImage(r.state));
    FUZZ_REQUIRE(fuzz::SameChannels(opened, r.state));
    return 0;
}
