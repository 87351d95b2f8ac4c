#include "codeplug/CsvText.h"

#include <algorithm>

namespace tr640 {

bool CsvRecord::blank() const {
    return std::all_of(fields.begin(), fields.end(),
                       [](const QString& f) { return f.trimmed().isEmpty(); });
}

bool CsvReader::next(CsvRecord* record) {
    while (i_ < text_.size()) {
        // A line that starts with '#' is skipped whole, whatever quotes it holds.
        if (text_[i_] == u'#') {
            while (i_ < text_.size() && text_[i_] != u'\r' && text_[i_] != u'\n')
                ++i_;
            lineEnd();
            continue;
        }
        read(record);
        if (record->unterminated || (!record->blank() && !record->comment()))
            return true;
    }
    return false;
}

// Consumes the line end at the current position, if there is one.
void CsvReader::lineEnd() {
    const qsizetype n = text_.size();
    if (i_ < n && text_[i_] == u'\r') {
        ++i_;
        if (i_ < n && text_[i_] == u'\n')
            ++i_;
    } else if (i_ < n && text_[i_] == u'\n') {
        ++i_;
    } else {
        return;
    }
    ++line_;
}

void CsvReader::read(CsvRecord* record) {
    const qsizetype n = text_.size();
    *record = CsvRecord();
    record->line = line_;
    for (;;) {
        QString field;
        if (i_ < n && text_[i_] == u'"') {
            ++i_;
            bool closed = false;
            while (i_ < n && !closed) {
                const QChar c = text_[i_];
                if (c == u'"' && i_ + 1 < n && text_[i_ + 1] == u'"') {
                    field += u'"';
                    i_ += 2;
                } else if (c == u'"') {
                    ++i_;
                    closed = true;
                } else if (c == u'\r' || c == u'\n') {
                    const qsizetype from = i_;
                    lineEnd();
                    field += text_.sliced(from, i_ - from);
                } else {
                    field += c;
                    ++i_;
                }
            }
            record->unterminated = record->unterminated || !closed;
        }
        // Unquoted text, or what follows a closing quote, up to the separator.
        const qsizetype from = i_;
        while (i_ < n && text_[i_] != separator_ && text_[i_] != u'\r' && text_[i_] != u'\n')
            ++i_;
        field += text_.sliced(from, i_ - from);
        record->fields << field;
        if (i_ < n && text_[i_] == separator_) {
            ++i_;
        } else {
            lineEnd();
            return;
        }
    }
}

QChar CsvSeparator(QStringView text, QStringView column) {
    for (const QChar separator : {u',', u';', u'\t'}) {
        CsvReader reader(text, separator);
        CsvRecord header;
        if (!reader.next(&header))
            break;
        for (const QString& name : std::as_const(header.fields))
            if (name.trimmed().compare(column, Qt::CaseInsensitive) == 0)
                return separator;
    }
    return u',';
}

QString CsvQuoted(const QString& value) {
    if (!value.contains(u',') && !value.contains(u'"') && !value.contains(u'\n') &&
        !value.contains(u'\r'))
        return value;
    QString quoted = value;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

} // namespace tr640
