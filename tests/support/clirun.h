#pragma once

// Runs the built ferrox-cli (FERROX_CLI_BINARY, defined by each test
// program that includes this) to its end, as a script would.

#include "support/testfiles.h"

#include <QProcess>
#include <QString>
#include <QStringList>

namespace ferrox::test {

struct CliRun
{
    int exitCode = -1; // -1 when it crashed or did not end
    QByteArray out;
    QString err;
    QString text() const { return QString::fromUtf8(out); }
};

// The ended process's exit status and output; `err` is what was read of
// standard error before.
inline CliRun endedRun(QProcess &process, const QByteArray &err = {})
{
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished(3000);
        return {-1, {}, QStringLiteral("<did not end>")};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            QString::fromUtf8(err + process.readAllStandardError())};
}

// Runs ferrox-cli in `folder` (by default the test's own), its standard
// output to `outputFile` when one is named.
inline CliRun runCli(const QStringList &arguments, const QString &folder = {}, const QString &outputFile = {})
{
    QProcess cli;
    cli.setWorkingDirectory(folder);
    if (!outputFile.isEmpty())
        cli.setStandardOutputFile(outputFile);
    cli.start(QStringLiteral(FERROX_CLI_BINARY), arguments);
    return endedRun(cli);
}

// Runs a bash line in `folder` with $0 the program and `parameters` as $1
// on; printf spells names that are not UTF-8.
inline CliRun runShell(const QString &folder, const QString &script, const QStringList &parameters = {})
{
    QProcess shell;
    shell.setWorkingDirectory(folder);
    shell.start(QStringLiteral("/bin/bash"),
                QStringList{QStringLiteral("-c"), script, QStringLiteral(FERROX_CLI_BINARY)} + parameters);
    return endedRun(shell);
}

} // namespace ferrox::test
