#pragma once

// CSV text (RFC 4180): reading it, with the habits of hand-edited files and of spreadsheets
// that separate fields with semicolons or tabs, and quoting a field for writing.

#include <QStringList>
#include <QStringView>

namespace tr640 {

struct CsvRecord {
    int line = 0; // where the record starts; 1 is the first line of the text
    QStringList fields;
    bool unterminated = false;

    bool blank() const;
    // A comment, as CHIRP writes and reads them: the first field starts with '#', whether
    // quoted or not.
    bool comment() const { return !fields.isEmpty() && fields.front().startsWith(u'#'); }
};

// Reads a text record by record. Comments and blank records are skipped. CRLF, LF and CR all
// end a line, also inside quoted fields, where they are kept as part of the field. A copy
// reads on from where the original is.
class CsvReader {
public:
    explicit CsvReader(QStringView text, QChar separator = u',')
        : text_(text), separator_(separator) {}

    // The next record that is neither blank nor a comment; false at the end of the text.
    bool next(CsvRecord* record);

private:
    void lineEnd();
    void read(CsvRecord* record);

    QStringView text_;
    QChar separator_;
    qsizetype i_ = 0;
    int line_ = 1;
};

// The separator of a text whose header names `column`: the first of comma, semicolon and tab
// that makes the first record hold that column; a comma when none does.
QChar CsvSeparator(QStringView text, QStringView column);

// A field as written between commas: in double quotes, with its quotes doubled, when it holds a
// comma, a quote or a line end; otherwise as it is.
QString CsvQuoted(const QString& value);

} // namespace tr640
