// Any text typed into any cell of the channel grid, with the language switched in between.
//
// Input: one byte (bits 0-2 the band, bit 3 English), then edits: a row (0: switch language), a
// column and a UTF-8 text.
//
// Properties: a refused text changes nothing; the grid holds only what the editors accept;
// what was typed survives a save and an open, and a CSV export and import.

#include "FuzzSupport.h"

#include "codeplug/ChirpCsv.h"
#include "codeplug/Codec.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>

using namespace tr640;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    EditorState s;
    const quint8 options = in.ConsumeIntegral<quint8>();
    s.Band = s.CurrentBandIndex = (options & 7) % kBandCount;
    s.Language = (options >> 3) & 1;
    const QString band = QString::fromLatin1(Band(s.Band).text);
    while (in.remaining_bytes() > 0) {
        const int row = in.ConsumeIntegralInRange(0, kChannelCount);
        if (row == 0) {
            s.Language = 1 - s.Language;
            s.SetGrid1Text();
        } else {
            const int col = in.ConsumeIntegralInRange(int(ColRxFrequency), kGridColumns - 1);
            const QString text = QString::fromStdString(in.ConsumeRandomLengthString(24));
            const EditorState before = s;
            if (SetChannelCell(s, row, col, text, BandLowFromText(band), BandHighFromText(band)) !=
                CellProblem::None)
                FUZZ_REQUIRE(s == before);
        }
        FUZZ_REQUIRE(fuzz::AllAcceptable(s));
    }
    EditorState opened;
    opened.Language = s.Language;
    DecodeImage(opened, EncodeImage(s));
    FUZZ_REQUIRE(fuzz::SameChannels(opened, s) && opened.Band == s.Band);
    const CsvImportResult csv = ImportChirpCsv(ExportChirpCsvFile(s), s);
    FUZZ_REQUIRE(csv.clean() && fuzz::SameChannels(csv.state, s));
    return 0;
}
