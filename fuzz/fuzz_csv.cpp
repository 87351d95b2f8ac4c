// The CHIRP CSV import on any file, with any placement, into a codeplug of any band.
//
// Input: one byte of options (bits 0-1 placement, bit 2 keep the other channels, bits 3-5 the
// band, bit 6 English, bit 7 the base codeplug has channels of its own), then the file.
//
// Properties: an unreadable file changes nothing; every imported row lands on a channel of its
// own, in file order; every channel holds only what the grid's editors accept for the band;
// the others are kept or cleared as asked; export and import again, or a save and an open,
// give the same channels.

#include "FuzzSupport.h"

#include "codeplug/ChirpCsv.h"
#include "codeplug/Codec.h"
#include "i18n/CsvTexts.h"

#include <cstddef>
#include <cstdint>

using namespace tr640;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const quint8 options = data[0];
    const QByteArray file(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const CsvPlacement placements[] = {CsvPlacement::Automatic, CsvPlacement::ByLocation,
                                       CsvPlacement::InOrder, CsvPlacement::Automatic};
    const CsvImportOptions how{placements[options & 3], (options & 4)
                                                            ? CsvChannelsNotInFile::Kept
                                                            : CsvChannelsNotInFile::Cleared};
    EditorState base;
    base.Band = base.CurrentBandIndex = ((options >> 3) & 7) % kBandCount;
    base.Language = (options >> 6) & 1;
    const QString band = QString::fromLatin1(Band(base.Band).text);
    const int low = BandLowFromText(band), high = BandHighFromText(band);
    if (options & 0x80) {
        SetChannelCell(base, 2, ColRxFrequency, QString::number(low + 1), low, high);
        SetChannelCell(base, 16, ColRxFrequency, QString::number(low), low, high);
        SetChannelCell(base, 16, ColTxTone, QStringLiteral("D023N"), low, high);
    }

    const CsvImportResult r = ImportChirpCsv(file, base, how);
    FUZZ_REQUIRE(!CsvImportSummary(r, base.Language).isEmpty());
    if (!r.fileReadable()) {
        FUZZ_REQUIRE(r.state == base && r.imported.isEmpty());
        return 0;
    }
    bool assigned[kChannelCount + 1] = {};
    int lastLine = 0;
    for (const CsvAssignment& a : r.imported) {
        FUZZ_REQUIRE(a.channel >= 1 && a.channel <= kChannelCount && !assigned[a.channel]);
        FUZZ_REQUIRE(a.line > lastLine && r.state.channelInUse(a.channel));
        assigned[a.channel] = true;
        lastLine = a.line;
    }
    for (const CsvIssue& issue : r.rejected)
        FUZZ_REQUIRE(issue.line >= 1 && !CsvIssueText(issue, base.Language).isEmpty());
    for (int row = 1; row <= kChannelCount; ++row)
        FUZZ_REQUIRE(assigned[row] ||
                     (r.others == CsvChannelsNotInFile::Kept ? fuzz::SameChannel(r.state, base, row)
                                                             : !r.state.channelInUse(row)));
    FUZZ_REQUIRE(r.state.Band == base.Band && fuzz::AllAcceptable(r.state));

    const CsvImportResult again = ImportChirpCsv(ExportChirpCsvFile(r.state), r.state);
    FUZZ_REQUIRE(again.clean() && fuzz::SameChannels(again.state, r.state));
    EditorState opened;
    opened.Language = r.state.Language;
    DecodeImage(opened, EncodeImage(r.state));
    FUZZ_REQUIRE(fuzz::SameChannels(opened, r.state));
    return 0;
}
