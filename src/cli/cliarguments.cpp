#include "cliarguments.h"

#include "clioutput.h"
#include "commands.h"

#include <cmath>

namespace ferrox::cli {

CliArguments::CliArguments(QString command, QString positionalSyntax, int positionalCount,
                           QList<CliOption> options, bool optionalPositional)
    : m_command(std::move(command))
    , m_positionalSyntax(optionalPositional ? QStringLiteral("[%1]").arg(positionalSyntax) : std::move(positionalSyntax))
    , m_positionalCount(positionalCount)
    , m_positionalOptional(optionalPositional)
    , m_options(std::move(options))
{
    // "-o" is an option of its own, not the letters of several.
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const CliOption &option : m_options)
        m_parser.addOption(QCommandLineOption(option.name, option.help, option.valueName));
    m_parser.addOption(QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                                          QStringLiteral("show this help")));
}

bool CliArguments::parse(const QStringList &arguments)
{
    if (!m_parser.parse(QStringList{QStringLiteral("ferrox-cli")} + arguments)) {
        usageError(m_parser.errorText());
        return false;
    }
    if (m_parser.isSet(QStringLiteral("help"))) {
        printOut(usage());
        m_exitStatus = ExitSuccess;
        return false;
    }
    const bool absentOptional = m_positionalOptional && positional().isEmpty();
    if (positional().size() != m_positionalCount && !absentOptional) {
        usageError(positional().size() < m_positionalCount ? QStringLiteral("missing ") + m_positionalSyntax
                                                           : QStringLiteral("too many arguments"));
        return false;
    }
    return true;
}

QString CliArguments::value(const QString &name, const QString &fallback) const
{
    return m_parser.isSet(name) ? m_parser.value(name) : fallback;
}

std::optional<int> CliArguments::number(const QString &name, int min, int max, int fallback)
{
    if (!m_parser.isSet(name))
        return fallback;
    bool ok = false;
    const int n = m_parser.value(name).toInt(&ok);
    if (!ok || n < min || n > max) {
        usageError(QStringLiteral("--%1 takes a number from %2 to %3").arg(name).arg(min).arg(max));
        return std::nullopt;
    }
    return n;
}

std::optional<double> CliArguments::decimal(const QString &name, double min, double max, double fallback, bool aboveMin)
{
    if (!m_parser.isSet(name))
        return fallback;
    bool ok = false;
    const double n = m_parser.value(name).toDouble(&ok);
    if (!ok || !std::isfinite(n) || n < min || (aboveMin && n == min) || n > max) {
        usageError(QStringLiteral("--%1 takes a number %2 %3, at most %4")
                       .arg(name, aboveMin ? QStringLiteral("above") : QStringLiteral("from"))
                       .arg(min)
                       .arg(max));
        return std::nullopt;
    }
    return n;
}

int CliArguments::usageError(const QString &message)
{
    printError(QStringLiteral("ferrox-cli %1: %2\n").arg(m_command, message) + usage());
    m_exitStatus = ExitUsage;
    return m_exitStatus;
}

QList<CliOption> CliArguments::encodingOptions(const QString &defaultText)
{
    return {
        {QStringLiteral("encoding"), QStringLiteral("cp932|utf8"),
         QStringLiteral("text encoding (default %1)").arg(defaultText)},
        {QStringLiteral("utf8"), QString(), QStringLiteral("the same as --encoding utf8")},
    };
}

std::optional<bool> CliArguments::utf8Chosen(bool toTerminal)
{
    const QString encoding = value(QStringLiteral("encoding"), QString());
    if (isSet(QStringLiteral("utf8"))) {
        if (!encoding.isEmpty() && encoding != QLatin1String("utf8")) {
            usageError(QStringLiteral("--utf8 and --encoding %1 contradict each other").arg(encoding));
            return std::nullopt;
        }
        return true;
    }
    if (encoding.isEmpty())
        return toTerminal;
    if (encoding == QLatin1String("utf8"))
        return true;
    if (encoding == QLatin1String("cp932"))
        return false;
    usageError(QStringLiteral("--encoding takes cp932 or utf8"));
    return std::nullopt;
}

QString CliArguments::usage() const
{
    QString text = QStringLiteral("usage: ferrox-cli ") + m_command;
    if (!m_positionalSyntax.isEmpty())
        text += QLatin1Char(' ') + m_positionalSyntax;
    text += QStringLiteral(" [options]\n");
    for (const CliOption &option : m_options) {
        const QString dashes = option.name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--");
        QString syntax = dashes + option.name;
        if (!option.valueName.isEmpty())
            syntax += QLatin1Char(' ') + option.valueName;
        text += QStringLiteral("  %1  %2\n").arg(syntax, -22).arg(option.help);
    }
    return text + m_notes;
}

} // namespace ferrox::cli
