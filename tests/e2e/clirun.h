#pragma once

// Runs the built ferrox-cli (FERROX_CLI_BINARY) to its end.

#include <QProcess>
#include <QString>
#include <QStringList>

namespace ferrox::test {

struct CliRun
{
    int exitCode = -1; // -1 when it crashed or did not end
    QString out;
    QString err;
};

// stopAfterStartMs > 0 sends SIGTERM that long after the capture log says
// the board streams. With outputClosed, standard output is a pipe whose
// reader has gone away (as with "| head").
inline CliRun runCli(const QStringList &arguments, int stopAfterStartMs = 0, bool outputClosed = false)
{
    QProcess cli;
    cli.start(QStringLiteral(FERROX_CLI_BINARY), arguments);
    if (outputClosed && cli.waitForStarted(5000))
        cli.closeReadChannel(QProcess::StandardOutput);
    QByteArray err;
    if (stopAfterStartMs > 0) {
        cli.setReadChannel(QProcess::StandardError);
        while (!err.contains("モニター開始 ... ") && cli.waitForReadyRead(5000))
            err += cli.readAllStandardError();
        cli.waitForFinished(stopAfterStartMs);
        cli.terminate();
    }
    if (!cli.waitForFinished(15000)) {
        cli.kill();
        cli.waitForFinished(3000);
        return {-1, {}, QStringLiteral("<did not end>")};
    }
    return {cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1, QString::fromUtf8(cli.readAllStandardOutput()),
            QString::fromUtf8(err + cli.readAllStandardError())};
}

} // namespace ferrox::test
