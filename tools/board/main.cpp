// ferrox-board: a simulated line monitor board on a pseudo-terminal, for
// the demo and the end-to-end tests when no board is attached.
#include "board/boardconfig.h"
#include "board/boardengine.h"
#include "board/traffic.h"
#include "pathlink.h"
#include "ptylink.h"
#include "version/programinfo.h"
#include "sendlog.h"
#include "platform/terminationwatch.h"

#include <QCoreApplication>
#include <QTimer>

#include <cctype>
#include <cstdio>

using namespace ferrox;

namespace {

int fail(const QString &message, int status)
{
    std::fprintf(stderr, "ferrox-board: %s\n", message.toLocal8Bit().constData());
    return status;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);

    if (app.arguments().contains(QStringLiteral("--version"))) {
        std::fputs(versionLine(QStringLiteral("ferrox-board")).toLocal8Bit().constData(), stdout);
        return 0;
    }
    BoardConfig config;
    bool helpRequested = false;
    QString error = parseBoardArguments(app.arguments(), config, helpRequested);
    if (helpRequested) {
        std::fputs(boardUsage().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (!error.isEmpty())
        return fail(error + QLatin1Char('\n') + boardUsage(), 2);
    const std::optional<QByteArray> traffic = loadTraffic(config.traffic, error);
    if (!traffic)
        return fail(error, 2);

    TerminationWatch termination;
    PtyLink pty;
    if (!termination.install(error) || !pty.open(error))
        return fail(error, 1);
    PathLink link(config.link, pty.slavePath());
    if (!link.create(error))
        return fail(error, 1);

    SendLog sendLog;
    if (!config.sendLog.isEmpty() && !sendLog.open(config.sendLog, error))
        return fail(error, 1);

    BoardEngine engine(config, *traffic);
    if (!config.sendLog.isEmpty())
        QObject::connect(&engine, &BoardEngine::streamSent, &engine, [&sendLog](qint64 offset) { sendLog.note(offset); });
    QObject::connect(&pty, &PtyLink::received, &engine, [&engine](const QByteArray &bytes, int linkBaud) {
        engine.setLinkBaud(linkBaud);
        engine.receive(bytes);
    });
    QObject::connect(&engine, &BoardEngine::output, &pty, &PtyLink::send);
    if (config.tellHeard) {
        QObject::connect(&engine, &BoardEngine::heard, &engine, [](std::uint8_t command) {
            std::printf("heard %c\n", std::isprint(command) ? char(command) : '?');
            std::fflush(stdout);
        });
    }
    QObject::connect(&termination, &TerminationWatch::terminationRequested, &app, &QCoreApplication::quit);
    if (config.hangupAfterMs > 0) {
        QTimer::singleShot(config.hangupAfterMs, &app, [&] {
            std::fputs("ferrox-board: hanging up the line\n", stderr);
            pty.hangUp();
            link.remove();
            QCoreApplication::quit();
        });
    }

    std::printf("%s\n", pty.slavePath().toLocal8Bit().constData());
    std::fflush(stdout);
    return app.exec();
}
