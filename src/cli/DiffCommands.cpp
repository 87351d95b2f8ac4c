// diff: what differs between two codeplug files, field by field.

#include "cli/CommandLine.h"
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

int RunDiff(const QStringList& args) {
    CommandLine line({{"json"}, kLanguageOption}, 2);
    if (const int status = line.parse(args))
        return status;
    const QStringList files = line.files();
    if (files.size() != 2)
        return UsageError(QStringLiteral("diff needs A.DAT and B.DAT"));
    const int language = line.language();
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
    PrintChanges(changes, language, line.isSet("json"), FilesEqualText(language));
    return changes.isEmpty() ? ExitOk : ExitDiffers;
}

} // namespace tr640::cli
