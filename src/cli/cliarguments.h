#pragma once

#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace ferrox::cli {

struct CliOption
{
    QString name;      // "mode" for --mode, "o" for -o
    QString valueName; // empty for a flag such as --utf8
    QString help;
};

// The arguments of one subcommand: options as listed, positional
// arguments as named in the usage line, and a --help of its own. A usage
// error is printed with the command's usage and gives exit status 2.
class CliArguments
{
public:
    // positionalSyntax: for example "FILE.dat"; positionalCount: how many
    // positional arguments the command takes exactly.
    // optionalPositional: the command may also go without its one
    // positional argument (the link commands' device, which --device can
    // name instead); the usage shows it in brackets.
    CliArguments(QString command, QString positionalSyntax, int positionalCount, QList<CliOption> options,
                 bool optionalPositional = false);

    // False on a usage error (already printed) or after --help (usage
    // printed); then exitStatus() is what the command returns.
    bool parse(const QStringList &arguments);
    int exitStatus() const { return m_exitStatus; }

    bool isSet(const QString &name) const { return m_parser.isSet(name); }
    QString value(const QString &name, const QString &fallback) const;
    QStringList positional() const { return m_parser.positionalArguments(); }

    // A whole number within min..max, or the fallback when the option is
    // absent; an empty optional (usage error printed) otherwise.
    std::optional<int> number(const QString &name, int min, int max, int fallback);

    // A decimal number of the option within min..max (above min when
    // `aboveMin`), or the fallback when the option is absent; an empty
    // optional (usage error printed) otherwise. "nan" and "inf" are never
    // numbers here, whatever the range.
    std::optional<double> decimal(const QString &name, double min, double max, double fallback, bool aboveMin = false);

    // Prints "ferrox-cli COMMAND: message" and the usage to standard error;
    // returns exit status 2.
    int usageError(const QString &message);

    QString usage() const;
    // Lines shown after the options in the usage.
    void setNotes(const QString &notes) { m_notes = notes; }

    // The options --encoding cp932|utf8 and --utf8, for commands that write text.
    // defaultText tells what an output gets without them.
    static QList<CliOption> encodingOptions(const QString &defaultText = QStringLiteral("cp932, utf8 on a terminal"));
    // True for UTF-8: as --encoding or --utf8 say, else when the text goes
    // to a terminal; an empty optional after a usage error.
    std::optional<bool> utf8Chosen(bool toTerminal);

private:
    QString m_command;
    QString m_positionalSyntax;
    int m_positionalCount;
    bool m_positionalOptional;
    QList<CliOption> m_options;
    QString m_notes;
    QCommandLineParser m_parser;
    int m_exitStatus = 0;
};

} // namespace ferrox::cli
