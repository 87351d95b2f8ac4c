#include "cli/CommandLine.h"

#include "cli/Commands.h"
#include "codeplug/BiText.h"

#include <algorithm>

namespace tr640::cli {

CommandLine::CommandLine(const QList<CliOption>& options, int maxFiles, bool dashIsFile,
                         const char* wrong)
    : options_(options), maxFiles_(maxFiles), dashIsFile_(dashIsFile), wrong_(wrong) {
    // -o and --port alike; "-json" is --json, not -j -s -o -n.
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const CliOption& o : options_) {
        QCommandLineOption option(QLatin1String(o.name));
        if (o.needs)
            option.setValueName(QStringLiteral("value"));
        parser_.addOption(option);
    }
}

int CommandLine::error(const QString& message) const {
    return UsageError(wrong_ ? QString::fromUtf8(wrong_) : message);
}

int CommandLine::unexpected(const QString& argument) const {
    return error(QStringLiteral("unexpected argument '%1'").arg(argument));
}

const CliOption* CommandLine::find(QStringView name) const {
    const auto it = std::find_if(options_.begin(), options_.end(),
                                 [&](const CliOption& o) { return name == QLatin1String(o.name); });
    return it == options_.end() ? nullptr : &*it;
}

int CommandLine::refused(const QStringList& args) const {
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--"))
            break;
        if (!a.startsWith(u'-') || a.size() == 1)
            continue;
        const QStringView name = QStringView(a).mid(a.startsWith(QLatin1String("--")) ? 2 : 1);
        const qsizetype equals = name.indexOf(u'=');
        const CliOption* option = find(name.first(equals < 0 ? name.size() : equals));
        if (!option || (equals >= 0 && !option->needs))
            return unexpected(a);
        if (option->needs && equals < 0 && ++i == args.size())
            return error(QString::fromUtf8(option->needs));
    }
    return error(parser_.errorText()); // not reached: the loop finds what the parser refused
}

int CommandLine::parse(const QStringList& args) {
    if (!parser_.parse(QStringList{QString()} + args))
        return refused(args);
    for (const CliOption& o : std::as_const(options_)) {
        if (!o.needs)
            continue;
        for (const QString& v : parser_.values(QLatin1String(o.name)))
            if (v.isEmpty() || (o.fileName && v.startsWith(u'-')))
                return error(QString::fromUtf8(o.needs));
    }
    if (find(QString::fromLatin1(kLanguageOption.name))) {
        for (const QString& v : parser_.values(QLatin1String(kLanguageOption.name)))
            if (v != QLatin1String("zh") && v != QLatin1String("en"))
                return error(QString::fromUtf8(kLanguageOption.needs));
    }
    const QStringList positional = parser_.positionalArguments();
    for (qsizetype i = 0; i < positional.size(); ++i) {
        const QString& f = positional[i];
        const bool dash = f.startsWith(u'-') && !(dashIsFile_ && f == QLatin1String("-"));
        if (dash || (maxFiles_ >= 0 && i >= maxFiles_))
            return unexpected(f);
    }
    return ExitOk;
}

bool CommandLine::isSet(const char* name) const {
    return find(QString::fromLatin1(name)) && parser_.isSet(QLatin1String(name));
}

QString CommandLine::value(const char* name) const {
    return find(QString::fromLatin1(name)) ? parser_.value(QLatin1String(name)) : QString();
}

qsizetype CommandLine::count(std::initializer_list<const char*> names) const {
    const QStringList given = parser_.optionNames();
    qsizetype n = 0;
    for (const char* name : names)
        n += given.count(QLatin1String(name));
    return n;
}

int CommandLine::language() const {
    return parser_.value(QLatin1String(kLanguageOption.name)) == QLatin1String("zh") ? Chinese
                                                                                     : English;
}

} // namespace tr640::cli
