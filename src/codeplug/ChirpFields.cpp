#include "codeplug/ChirpFields.h"

#include <utility>

namespace tr640::chirp {

std::optional<qint64> ParseScaled(QStringView t, int decimals) {
    qint64 whole = 0;
    qint64 fraction = 0;
    int wholeDigits = 0;
    int fractionDigits = 0;
    bool point = false;
    bool extraNonZero = false;
    for (const QChar c : t) {
        if (c == u'.') {
            if (point)
                return std::nullopt;
            point = true;
            continue;
        }
        if (c < u'0' || c > u'9')
            return std::nullopt;
        const int digit = c.unicode() - u'0';
        if (!point) {
            if (++wholeDigits > 9)
                return std::nullopt;
            whole = whole * 10 + digit;
        } else if (fractionDigits < decimals) {
            ++fractionDigits;
            fraction = fraction * 10 + digit;
        } else {
            extraNonZero = extraNonZero || digit != 0;
        }
    }
    if (extraNonZero || (wholeDigits == 0 && fractionDigits == 0))
        return std::nullopt;
    qint64 scale = 1;
    for (int k = 0; k < decimals; ++k)
        scale *= 10;
    for (int k = fractionDigits; k < decimals; ++k)
        fraction *= 10;
    return whole * scale + fraction;
}

std::optional<qint64> ParseFrequencyHz(const QString& field) {
    QString s = field.trimmed();
    int decimals = 6;
    if (s.endsWith(QLatin1String("mhz"), Qt::CaseInsensitive)) {
        s.chop(3);
    } else if (s.endsWith(QLatin1String("khz"), Qt::CaseInsensitive)) {
        s.chop(3);
        decimals = 3;
    }
    return ParseScaled(QStringView(s).trimmed(), decimals);
}

QString HzText(qint64 hz) {
    if (hz < 0)
        return u'-' + HzText(-hz);
    return QString::number(hz / 1000000) + u'.' +
           QString::number(hz % 1000000).rightJustified(6, u'0');
}

Columns MapColumns(const QStringList& header) {
    Columns c;
    c.index.fill(-1);
    c.headerSize = header.size();
    for (qsizetype i = 0; i < header.size(); ++i) {
        const QString name = header[i].trimmed();
        for (int col = 0; col < kColumnCount; ++col)
            if (c.index[col] < 0 &&
                name.compare(QLatin1String(kColumnNames[col]), Qt::CaseInsensitive) == 0)
                c.index[col] = i;
    }
    return c;
}

QString Row::field(Column c) const {
    QString f = has(c) ? record_.fields[columns_.index[c]].trimmed() : QString();
    if (decimalComma_ && c != CName && c != CComment)
        f.replace(u',', u'.');
    return f;
}

bool Row::noFrequency() const {
    const std::optional<qint64> hz = ParseFrequencyHz(field(CFrequency));
    return field(CFrequency).isEmpty() || (hz && *hz == 0);
}

bool Row::bcloComment() const {
    const QStringList words = field(CComment).split(u' ', Qt::SkipEmptyParts);
    return words.contains(QLatin1String(kBcloComment), Qt::CaseInsensitive);
}

bool Row::hasText() const {
    return !field(CName).isEmpty() ||
           (!field(CComment).isEmpty() &&
            field(CComment).compare(QLatin1String(kBcloComment), Qt::CaseInsensitive) != 0);
}

RowResult Refuse(CsvReason reason, QStringList args) {
    RowResult r;
    r.reason = reason;
    r.args = std::move(args);
    return r;
}

} // namespace tr640::chirp
