// tr640-cli: the codeplug tool without windows.

#include "cli/Commands.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

namespace tr640::cli {

namespace {

struct Command {
    const char* name;
    int (*run)(const QStringList&);
    const char* usage;
};

constexpr Command kCommands[] = {
    {"show", RunShow, "show [--lang zh|en] [--json] FILE.DAT"},
    {"resave", RunResave, "resave IN.DAT OUT.DAT"},
    {"read", RunRead, "read --port PORT [-o FILE.DAT] [--trace TRACE.txt] [--lang zh|en]"},
    {"write", RunWrite,
     "write --port PORT [--service] [--backup OLD.DAT] [--verify] [--preview [--yes]] "
     "[--trace TRACE.txt] [--lang zh|en] FILE.DAT"},
    {"export-csv", RunExportCsv, "export-csv FILE.DAT OUT.csv"},
    {"import-csv", RunImportCsv,
     "import-csv IN.csv [--base FILE.DAT] -o OUT.DAT [--band N] [--by-location|--in-order] "
     "[--merge] [--lang zh|en]"},
    {"diff", RunDiff, "diff [--lang zh|en] [--json] A.DAT B.DAT"},
    {"sheet", RunSheet, "sheet [--lang zh|en] FILE.DAT OUT.pdf"},
};

void PrintUsage(QTextStream& s) {
    s << "Usage: tr640-cli COMMAND [OPTIONS]\n";
    for (const Command& c : kCommands)
        s << "  tr640-cli " << c.usage << '\n';
    s << "PORT is a system port name or path (/dev/ttyUSB0, COM3), or COM1..COM8.\n"
         "--trace is an option of read and write; write --verify exits 6 when the radio holds\n"
         "other bytes than were written.\n"
         "diff exits 0 when the files hold the same codeplug, 7 when they differ.\n"
         "write --preview reads the radio and lists what the write would change; it writes\n"
         "only with --yes, and otherwise exits 7 when something would change, 0 when not.\n";
    s.flush();
}

} // namespace

QTextStream& Out() {
    static QTextStream s(stdout);
    return s;
}

QTextStream& Err() {
    static QTextStream s(stderr);
    return s;
}

int UsageError(const QString& message) {
    if (!message.isEmpty())
        Err() << "tr640-cli: " << message << '\n';
    PrintUsage(Err());
    return ExitUsage;
}

} // namespace tr640::cli

int main(int argc, char** argv) {
    using namespace tr640::cli;
    const std::unique_ptr<QCoreApplication> app = MakeApplication(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tr640"));
    // The command's name, and after it the command's own arguments.
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    parser.addOption(help);
    if (!parser.parse(QCoreApplication::arguments()))
        return UsageError(
            QStringLiteral("unknown command '%1'").arg(QCoreApplication::arguments().at(1)));
    if (parser.isSet(help)) {
        PrintUsage(Out());
        return ExitOk;
    }
    QStringList args = parser.positionalArguments();
    if (args.isEmpty())
        return UsageError(QString());
    const QString name = args.takeFirst();
    for (const Command& c : kCommands)
        if (name == QLatin1String(c.name)) {
            const int status = c.run(args);
            Out().flush();
            Err().flush();
            return status;
        }
    return UsageError(QStringLiteral("unknown command '%1'").arg(name));
}
