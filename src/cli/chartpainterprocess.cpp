#include "chartpainterprocess.h"

#include "clioutput.h"
#include "cliprogram.h"

#include "frames/responsechartstream.h"

#include <QFileInfo>
#include <QProcess>

namespace ferrox::cli {

bool startChartPainter(const ResponseChart &chart, std::function<void(std::optional<QByteArray> png)> done)
{
    const QString painter = privateProgramPath(QStringLiteral("ferrox-chart"));
    if (!QFileInfo(painter).isExecutable()) {
        printError(QStringLiteral("ferrox-cli: the chart painter %1 is missing: PNG charts need it (reinstall ferrox); "
                                  "SVG charts do not\n").arg(painter));
        return false;
    }
    auto *process = new QProcess;
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const auto fail = [painter, process, done](const QString &why) {
        printError(QStringLiteral("ferrox-cli: the chart painter %1 %2; no PNG chart was written\n").arg(painter, why));
        process->deleteLater();
        done(std::nullopt);
    };
    // A crash or a failed write to it also ends in finished(); only a
    // failed start does not.
    QObject::connect(process, &QProcess::errorOccurred, process, [process, fail](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            fail(QStringLiteral("could not be started (%1)").arg(process->errorString()));
    });
    QObject::connect(process, &QProcess::finished, process,
                     [process, fail, done](int exitCode, QProcess::ExitStatus exitStatus) {
        if (exitStatus != QProcess::NormalExit)
            return fail(QStringLiteral("crashed"));
        if (exitCode != 0)
            return fail(QStringLiteral("failed (exit status %1)").arg(exitCode));
        const QByteArray png = process->readAllStandardOutput();
        if (!png.startsWith("\x89PNG\r\n\x1a\n"))
            return fail(QStringLiteral("gave no PNG"));
        process->deleteLater();
        done(png);
    });
    process->start(painter, {});
    process->write(chartToBytes(chart));
    process->closeWriteChannel();
    return true;
}

} // namespace ferrox::cli
