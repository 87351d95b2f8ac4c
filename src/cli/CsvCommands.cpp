// export-csv and import-csv: channel lists in CHIRP's generic CSV format.

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
    bool placementGiven = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        const auto value = [&](QString* into) {
            if (i + 1 >= args.size())
                return false;
            *into = args.at(++i);
            return !into->isEmpty();
        };
        if (a == QLatin1String("-o")) {
            if (!value(&o->output))
                return UsageError(QStringLiteral("-o needs a file name"));
        } else if (a == QLatin1String("--base")) {
            if (!value(&o->base))
                return UsageError(QStringLiteral("--base needs a codeplug file"));
        } else if (a == QLatin1String("--band")) {
            QString band;
            if (!value(&band) || (o->band = ParseBand(band)) < 0)
                return UsageError(
                    QStringLiteral("--band takes 0 to 6 or a band such as 400-470MHz"));
        } else if (a == QLatin1String("--lang")) {
            QString lang;
            if (!value(&lang) || (lang != QLatin1String("zh") && lang != QLatin1String("en")))
                return UsageError(QStringLiteral("--lang is zh or en"));
            o->language = lang == QLatin1String("zh") ? Chinese : English;
        } else if (a == QLatin1String("--by-location") || a == QLatin1String("--in-order")) {
            if (placementGiven)
                return UsageError(QStringLiteral("give --by-location or --in-order, not both"));
            placementGiven = true;
            o->csv.placement = a == QLatin1String("--by-location") ? CsvPlacement::ByLocation
                                                                   : CsvPlacement::InOrder;
        } else if (a == QLatin1String("--merge")) {
            o->csv.others = CsvChannelsNotInFile::Kept;
        } else if (!a.startsWith(u'-') && o->input.isEmpty()) {
            o->input = a;
        } else {
            return UsageError(QStringLiteral("unexpected argument '%1'").arg(a));
        }
    }
    if (o->input.isEmpty())
        return UsageError(QStringLiteral("import-csv needs a CSV file"));
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
    if (args.size() != 2 || args[0].startsWith(u'-') ||
        (args[1].startsWith(u'-') && args[1] != QLatin1String("-")))
        return UsageError(QStringLiteral("export-csv needs FILE.DAT and OUT.csv (- for stdout)"));
    EditorState state;
    state.Language = English;
    if (!LoadCodeplugFile(args[0], state))
        return ExitFileError;
    const QByteArray csv = ExportChirpCsvFile(state);
    if (args[1] == QLatin1String("-")) {
        QFile out;
        if (!out.open(stdout, QIODevice::WriteOnly) || out.write(csv) != csv.size())
            return ExitFileError;
        return ExitOk;
    }
    return SaveCodeplugFile(args[1], csv) ? ExitOk : ExitFileError;
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
