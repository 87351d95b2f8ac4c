// Typing into the channel grid: any text into any cell, through the rules the grid's editors
// apply, with the language switched in between.
//
// Input: one byte (bits 0-2 the band, bit 3 English), then edits: a row, a column and a text
// (UTF-8), or a switch of language.
//
// Properties: a refused text leaves the codeplug as it was; the grid only ever holds what the
// editors accept; whatever was typed survives a save and an open, and a CSV export and import.

#include "FuzzSupport.h"

#include "codeplug/BandTable.h"
#include "codeplug/ChannelRules.h"
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
    const int low = BandLowFromText(band);
    const int high = BandHighFromText(band);

    while (in.remaining_bytes() > 0) {
        const int row = in.ConsumeIntegralInRange(0, kChannelCount);
        if (row == 0) { // the language items
            s.Language = 1 - s.Language;
            s.SetGrid1Text();
            FUZZ_REQUIRE(fuzz::AllAcceptable(s));
            continue;
        }
        const int col = in.ConsumeIntegralInRange(int(ColRxFrequency), kGridColumns - 1);
        const QString text = QString::fromStdString(in.ConsumeRandomLengthString(24));
        const EditorState before = s;
        if (SetChannelCell(s, row, col, text, low, high) != CellProblem::None)
            FUZZ_REQUIRE(s == before);
        FUZZ_REQUIRE(fuzz::AllAcceptable(s));
    }

    EditorState opened;
    opened.Language = s.Language;
    DecodeImage(opened, EncodeImage(s));
    FUZZ_REQUIRE(fuzz::SameChannels(opened, s));
    FUZZ_REQUIRE(opened.Band == s.Band);

    const CsvImportResult csv = ImportChirpCsv(ExportChirpCsvFile(s), s);
    FUZZ_REQUIRE(csv.clean());
    FUZZ_REQUIRE(fuzz::SameChannels(csv.state, s));
    return 0;
}
