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

// How ferrox-cli is run: by default in the test's working folder with its
// standard output read.
struct CliSetting
{
    QString folder;
    QString outputFile;        // standard output goes to this file
    int stopAfterStartMs = 0;  // SIGTERM that long after the capture log says the board streams
    bool outputClosed = false; // standard output is a pipe whose reader has gone away (as with "| head")
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

inline CliRun runCli(const QStringList &arguments, const CliSetting &setting = {})
{
    QProcess cli;
    cli.setWorkingDirectory(setting.folder);
    if (!setting.outputFile.isEmpty())
        cli.setStandardOutputFile(setting.outputFile);
    cli.start(QStringLiteral(FERROX_CLI_BINARY), arguments);
    if (setting.outputClosed && cli.waitForStarted(5000))
        cli.closeReadChannel(QProcess::StandardOutput);
    QByteArray err;
    if (setting.stopAfterStartMs > 0) {
        cli.setReadChannel(QProcess::StandardError);
        while (!err.contains("モニター開始 ... ") && cli.waitForReadyRead(5000))
            err += cli.readAllStandardError();
        cli.waitForFinished(setting.stopAfterStartMs);
        cli.terminate();
    }
    return endedRun(cli, err);
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
