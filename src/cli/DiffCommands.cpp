// diff: what differs between two codeplug files, field by field.

#include "cli/Commands.h"

#include "codeplug/BiText.h"
#include "codeplug/CodeplugDiff.h"
#include "codeplug/CodeplugFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace tr640::cli {

namespace {

QString KindName(ChangeKind kind) {
    switch (kind) {
    case ChangeKind::Changed:
        return QStringLiteral("changed");
    case ChangeKind::ChannelAdded:
        return QStringLiteral("new");
    case ChangeKind::ChannelRemoved:
        return QStringLiteral("removed");
    case ChangeKind::OtherData:
        return QStringLiteral("other");
    }
    return QString();
}

QJsonObject ChangesAsJson(const QList<FieldChange>& changes, int language) {
    QJsonArray list;
    for (const FieldChange& c : changes) {
        QJsonObject o{{"field", c.field},
                      {"kind", KindName(c.kind)},
                      {"label", c.label},
                      {"text", DescribeChange(c, language)}};
        if (c.channel > 0)
            o.insert(QStringLiteral("channel"), c.channel);
        if (c.kind == ChangeKind::Changed) {
            o.insert(QStringLiteral("before"), c.before);
            o.insert(QStringLiteral("after"), c.after);
        }
        if (c.kind == ChangeKind::OtherData)
            o.insert(QStringLiteral("count"), c.count);
        list.append(o);
    }
    return {{"equal", changes.isEmpty()}, {"changes", list}};
}

} // namespace

void PrintChanges(const QList<FieldChange>& changes, int language, bool json,
                  const QString& noDifference) {
    if (json) {
        Out() << QJsonDocument(ChangesAsJson(changes, language)).toJson(QJsonDocument::Indented);
    } else if (changes.isEmpty()) {
        Out() << noDifference << '\n';
    } else {
        for (const QString& line : DescribeChanges(changes, language))
            Out() << line << '\n';
    }
    Out().flush();
}

int ParseLanguageOption(const QStringList& args, qsizetype* i, int* language) {
    const QString value = *i + 1 < args.size() ? args.at(++*i) : QString();
    if (value == QLatin1String("zh"))
        *language = Chinese;
    else if (value == QLatin1String("en"))
        *language = English;
    else
        return UsageError(QStringLiteral("--lang takes zh or en"));
    return ExitOk;
}

int RunDiff(const QStringList& args) {
    bool json = false;
    int language = English;
    QStringList files;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (a == QLatin1String("--json")) {
            json = true;
        } else if (a == QLatin1String("--lang")) {
            if (const int rc = ParseLanguageOption(args, &i, &language))
                return rc;
        } else if (a.startsWith(u'-') || files.size() == 2) {
            return UsageError(QStringLiteral("unexpected argument '%1'").arg(a));
        } else {
            files << a;
        }
    }
    if (files.size() != 2)
        return UsageError(QStringLiteral("diff needs A.DAT and B.DAT"));
    QByteArray images[2];
    for (int k = 0; k < 2; ++k) {
        FileStatus st;
        images[k] = ReadCodeplugFile(files[k], &st);
        if (!st.ok()) {
            Err() << DescribeFileError(files[k], st) << '\n';
            return ExitFileError;
        }
    }
    const QList<FieldChange> changes = CompareCodeplugs(images[0], images[1], language);
    PrintChanges(changes, language, json, FilesEqualText(language));
    return changes.isEmpty() ? ExitOk : ExitDiffers;
}

} // namespace tr640::cli
