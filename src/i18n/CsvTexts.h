#pragma once

// The texts of the CHIRP CSV import: why a file or a row was refused, and the summary the user
// reads afterwards, in both languages.

#include "codeplug/BiText.h"
#include "codeplug/ChirpCsv.h"

#include <QString>

namespace tr640 {

// The reason's text with its %-placeholders.
const BiText& CsvReasonText(CsvReason reason);

// The reason with the values it names (each on one line and cut short when long), and the same
// as "Line n: reason".
QString CsvIssueReasonText(const CsvIssue& issue, int language);
QString CsvIssueText(const CsvIssue& issue, int language);

// A summary for the user: counts, where the rows went, what happened to the other channels,
// then one line per rejected row (at most maxRows of them, -1 for all).
QString CsvImportSummary(const CsvImportResult& result, int language, int maxRows = -1);

} // namespace tr640
