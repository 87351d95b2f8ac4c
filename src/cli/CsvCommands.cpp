// export-csv and import-csv: channel lists in CHIRP's generic CSV format.

#include "cli/CommandLine.h"
#include "cli/Commands.h"

#include "codeplug/BandTable.h"
#include "codeplug/ChirpCsv.h"
#include "codeplug/Codec.h"
#include "codeplug/CodeplugFile.h"
#include "i18n/CsvTexts.h"

#include <QFile>

namespace tr640::cli {

namespace {

struct ImportOptions {
    QString input;
    QString base;
    QString output;
    int band = -1; // -1: the base's band, or the start-up band without a base
    int language = English;
    CsvImportOptions csv;
};

// A band by its list position (0 to 6) or its selector text ("136-174MHz").
int ParseBand(const QString& value) {
    bool ok = false;
    const int position = value.toInt(&ok);
    if (ok)
        return position >= 0 && position < kBandCount ? position : -1;
    for (int i = 0; i < kBandCount; ++i)
        if (value.compare(QLatin1String(kBands[i].text), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int ParseImportOptions(const QStringList& args, ImportOptions* o) {
    constexpr const char* kBandValues = "--band takes 0 to 6 or a band such as 400-470MHz";
    CommandLine line({{"o", "-o needs a file name"},
                      {"base", "--base needs a codeplug file"},
                      {"band", kBandValues},
                      kLanguageOption,
                      {"by-location"},
                      {"in-order"},
                      {"merge"}},
                     1);
    if (const int status = line.parse(args))
        return status;
    if (line.isSet("band") && (o->band = ParseBand(line.value("band"))) < 0)
        return UsageError(QString::fromUtf8(kBandValues));
    if (line.count({"by-location", "in-order"}) > 1)
        return UsageError(QStringLiteral("give --by-location or --in-order, not both"));
    if (line.isSet("by-location"))
        o->csv.placement = CsvPlacement::ByLocation;
    else if (line.isSet("in-order"))
        o->csv.placement = CsvPlacement::InOrder;
    if (line.isSet("merge"))
        o->csv.others = CsvChannelsNotInFile::Kept;
    o->language = line.language();
    o->base = line.value("base");
    o->output = line.value("o");
    if (line.files().isEmpty())
        return UsageError(QStringLiteral("import-csv needs a CSV file"));
    o->input = line.files().first();
    if (o->output.isEmpty())
        return UsageError(QStringLiteral("import-csv needs -o OUT.DAT"));
    return ExitOk;
}

// The CSV file's bytes, at most one byte more than the import accepts.
bool ReadCsvFile(const QString& path, QByteArray* bytes) {
    FileStatus st;
    *bytes = ReadFileStart(path, kMaxCsvFileSize + 1, &st);
    if (!st.ok())
        Err() << DescribeFileError(path, st) << '\n';
    return st.ok();
}

} // namespace

int RunExportCsv(const QStringList& args) {
    constexpr const char* kWrong = "export-csv needs FILE.DAT and OUT.csv (- for stdout)";
    CommandLine line({}, -1, true, kWrong);
    if (const int status = line.parse(args))
        return status;
    const QStringList files = line.files();
    if (files.size() != 2 || files[0] == QLatin1String("-"))
        return UsageError(QString::fromUtf8(kWrong));
    EditorState state;
    state.Language = English;
    if (!LoadCodeplugFile(files[0], state))
        return ExitFileError;
    const QByteArray csv = ExportChirpCsvFile(state);
    if (files[1] == QLatin1String("-")) {
        QFile out;
        if (!out.open(stdout, QIODevice::WriteOnly) || out.write(csv) != csv.size())
            return ExitFileError;
        return ExitOk;
    }
    return SaveCodeplugFile(files[1], csv) ? ExitOk : ExitFileError;
}

int RunImportCsv(const QStringList& args) {
    ImportOptions o;
    if (const int rc = ParseImportOptions(args, &o))
        return rc;
    QByteArray csv;
    if (!ReadCsvFile(o.input, &csv))
        return ExitFileError;
    EditorState state;
    state.Language = o.language;
    if (!o.base.isEmpty() && !LoadCodeplugFile(o.base, state))
        return ExitFileError;
    if (o.band >= 0 && o.band != state.Band) {
        // Changing the band empties the channel list; there is nothing left to merge into.
        if (!o.base.isEmpty() && o.csv.others == CsvChannelsNotInFile::Kept)
            return UsageError(QStringLiteral("--merge keeps the channels of %1, whose band is %2; "
                                             "--band must be that band")
                                  .arg(o.base, QLatin1String(Band(state.Band).text)));
        state.Band = o.band;
        state.CurrentBandIndex = o.band;
    }
    const CsvImportResult result = ImportChirpCsv(csv, state, o.csv);
    Err() << CsvImportSummary(result, o.language) << '\n';
    Err().flush();
    if (!result.clean())
        return ExitRowsRejected;
    return SaveCodeplugFile(o.output, EncodeImage(result.state)) ? ExitOk : ExitFileError;
}

} // namespace tr640::cli
