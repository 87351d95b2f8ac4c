#pragma once

// The arguments of one command, read with QCommandLineParser. A usage error is printed as the
// tool has always worded it: "unexpected argument 'X'" for an option the command does not take
// or a file name that starts with '-', an option's own message for a missing or bad value.

#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>
#include <initializer_list>

namespace tr640::cli {

// One option of a command.
struct CliOption {
    const char* name;            // "port" for --port, "o" for -o
    const char* needs = nullptr; // the message for a missing or empty value; null: a switch
    bool fileName = false;       // the value may not start with '-' either
};

// --lang zh|en, the language of the command's messages.
inline constexpr CliOption kLanguageOption{"lang", "--lang takes zh or en"};

class CommandLine {
public:
    // `maxFiles` other arguments are taken (-1: any number), "-" among them when `dashIsFile`.
    // With `wrong` set, every usage error prints that message instead.
    CommandLine(const QList<CliOption>& options, int maxFiles, bool dashIsFile = false,
                const char* wrong = nullptr);

    // ExitOk, or the usage status after the error has been printed.
    int parse(const QStringList& args);

    // Given, and its value (empty when not given); false and empty for an option the command
    // does not take.
    bool isSet(const char* name) const;
    QString value(const char* name) const;
    // How many times the options were given, all together.
    qsizetype count(std::initializer_list<const char*> names) const;
    // 0 Chinese or 1 English (the default).
    int language() const;
    QStringList files() const { return parser_.positionalArguments(); }

private:
    int error(const QString& message) const;
    int unexpected(const QString& argument) const;
    const CliOption* find(QStringView name) const;
    // What the parser refused, found in the arguments in order.
    int refused(const QStringList& args) const;

    QList<CliOption> options_;
    int maxFiles_;
    bool dashIsFile_;
    const char* wrong_;
    QCommandLineParser parser_;
};

} // namespace tr640::cli
