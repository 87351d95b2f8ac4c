#include "cli/CommandLine.h"

#include "cli/Commands.h"
#include "codeplug/BiText.h"

#include <algorithm>

namespace tr640::cli {

CommandLine::CommandLine(const QList<CliOption>& options, int maxFiles, bool dashIsFile,
                         const char* wrong)
    : m_options(options), m_maxFiles(maxFiles), m_dashIsFile(dashIsFile), m_wrong(wrong) {
    // -o and --port alike; "-json" is --json, not -j -s -o -n.
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const CliOption& o : m_options) {
        QCommandLineOption option(QLatin1String(o.name));
        if (o.needs)
            option.setValueName(QStringLiteral("value"));
        m_parser.addOption(option);
    }
}

int CommandLine::error(const QString& message) const {
    return UsageError(m_wrong ? QString::fromUtf8(m_wrong) : message);
}

int CommandLine::unexpected(const QString& argument) const {
    return error(QStringLiteral("unexpected argument '%1'").arg(argument));
}

const CliOption* CommandLine::find(QStringView name) const {
    const auto it = std::find_if(m_options.begin(), m_options.end(),
                                 [&](const CliOption& o) { return name == QLatin1String(o.name); });
    return it == m_options.end() ? nullptr : &*it;
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
    return error(m_parser.errorText()); // not reached: the loop finds what the parser refused
}

int CommandLine::parse(const QStringList& args) {
    if (!m_parser.parse(QStringList{QString()} + args))
        return refused(args);
    for (const CliOption& o : std::as_const(m_options)) {
        if (!o.needs)
            continue;
        for (const QString& v : m_parser.values(QLatin1String(o.name)))
            if (v.isEmpty() || (o.fileName && v.startsWith(u'-')))
                return error(QString::fromUtf8(o.needs));
    }
    if (find(QString::fromLatin1(kLanguageOption.name))) {
        for (const QString& v : m_parser.values(QLatin1String(kLanguageOption.name)))
            if (v != QLatin1String("zh") && v != QLatin1String("en"))
                return error(QString::fromUtf8(kLanguageOption.needs));
    }
    const QStringList positional = m_parser.positionalArguments();
    for (qsizetype i = 0; i < positional.size(); ++i) {
        const QString& f = positional[i];
        const bool dash = f.startsWith(u'-') && !(m_dashIsFile && f == QLatin1String("-"));
        if (dash || (m_maxFiles >= 0 && i >= m_maxFiles))
            return unexpected(f);
    }
    return ExitOk;
}

bool CommandLine::isSet(const char* name) const {
    return find(QString::fromLatin1(name)) && m_parser.isSet(QLatin1String(name));
}

QString CommandLine::value(const char* name) const {
    return find(QString::fromLatin1(name)) ? m_parser.value(QLatin1String(name)) : QString();
}

qsizetype CommandLine::count(std::initializer_list<const char*> names) const {
    const QStringList given = m_parser.optionNames();
    qsizetype n = 0;
    for (const char* name : names)
        n += given.count(QLatin1String(name));
    return n;
}

int CommandLine::language() const {
    return m_parser.value(QLatin1String(kLanguageOption.name)) == QLatin1String("zh") ? Chinese
                                                                                      : English;
}

} // namespace tr640::cli
