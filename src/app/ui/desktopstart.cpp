#include "desktopstart.h"

#include "app/base/instancehandoff.h"
#include "app/base/texts.h"
#include "app/ui/mainwindow.h"
#include "files/filenamebytes.h"
#include "version/programinfo.h"
#include "views/ui/logfilecommands.h"
#include "views/ui/monitorlogcommands.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <vector>
#include <unistd.h>

namespace ferrox {

namespace {

const char usageText[] =
    "usage: ferrox [FILE.dat | LOG.rsm]\n"
    "The PC program of the RS-232 line monitor board. FILE.dat, when given, opens\n"
    "as the data-file open command opens it; a log LOG.rsm opens in a log window.\n"
    "A later start brings the running window to the front and hands it the file.\n"
    "options:\n"
    "  --help      show this help\n"
    "  --version   show the version\n"
    "environment:\n"
    "  FERROX_HOME   the program folder, where rs_data.dat and rs_text.rsm are kept\n"
    "  FERROX_COMn   the device of port COMn (default /dev/ttyS{n-1})\n";

void print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

// Absolute, keeping every byte of a name that is not UTF-8 (the
// toolkit's file information would replace those bytes).
QString absoluteName(const QString &name)
{
    if (name.startsWith(u'/'))
        return QDir::cleanPath(name);
    char folder[PATH_MAX];
    const char *current = ::getcwd(folder, sizeof folder);
    return QDir::cleanPath(decodeFileName(QByteArray(current ? current : ".")) + u'/' + name);
}

struct HeldMessage
{
    QtMsgType type;
    QByteArray category;
    QString text;
};

// What the toolkit says while it starts; its fatal message when it finds
// no display ends the program here, with our line instead of its abort.
std::vector<HeldMessage> heldMessages;

void holdStartMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtFatalMsg) {
        print(stderr, apptext::noDisplay(qEnvironmentVariable("DISPLAY"), qEnvironmentVariable("WAYLAND_DISPLAY")));
        std::_Exit(1);
    }
    heldMessages.push_back({type, QByteArray(context.category ? context.category : ""), text});
}

void comeToFront(MainWindow &window)
{
    if (window.isMinimized())
        window.showNormal();
    window.raise();
    window.activateWindow();
}

} // namespace

WindowCommandLine parseWindowCommandLine(const QStringList &arguments)
{
    WindowCommandLine line;
    const QStringList given = arguments.mid(1);
    if (given.contains(QStringLiteral("--help")) || given.contains(QStringLiteral("-h"))) {
        print(stdout, QString::fromUtf8(usageText));
        line.leave = true;
        return line;
    }
    if (given.contains(QStringLiteral("--version"))) {
        print(stdout, versionLine(QStringLiteral("ferrox")));
        line.leave = true;
        return line;
    }
    const bool unknownOption = !given.isEmpty() && given.constFirst().startsWith(u'-');
    if (given.size() > 1 || unknownOption) {
        print(stderr, QStringLiteral("ferrox: one data file at most, and no other option\n")
                          + QString::fromUtf8(usageText));
        line.leave = true;
        line.status = 2;
        return line;
    }
    if (!given.isEmpty())
        line.file = absoluteName(given.constFirst());
    return line;
}

std::unique_ptr<QApplication> startToolkit(int &argc, char **argv)
{
    const QtMessageHandler earlier = qInstallMessageHandler(holdStartMessage);
    auto app = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(earlier);
    for (const HeldMessage &message : heldMessages) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
        qt_message_output(message.type, context, message.text);
    }
    heldMessages.clear();
    return app;
}

void prepareDesktop(QApplication &app)
{
    auto *translator = new QTranslator(&app);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (translator->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"), folder)
        || translator->load(QStringLiteral("qtbase_ja"), folder))
        QApplication::installTranslator(translator);

    // Wayland names the window after its desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.ferrox.Ferrox"));
}

void setProgramIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/ferrox/icons/%1/ferrox.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
}

bool handOverToRunningWindow(QApplication &app, const QString &file)
{
    HandoffClient client;
    QObject::connect(&client, &HandoffClient::finished, &app, [file](bool delivered, const RunningWindow &window) {
        if (delivered)
            print(stderr, apptext::broughtForward(window.pid, window.display, file));
        QCoreApplication::exit(delivered ? 0 : 1);
    }, Qt::QueuedConnection);
    client.send(handoffSocketPath(), file);
    return app.exec() == 0;
}

void acceptHandOvers(MainWindow &window, MonitorLogCommands &monitorLog, LogFileCommands &logFiles,
                     const QString &file)
{
    auto *server = new HandoffServer(handoffSocketPath(), thisWindow(), &window);
    server->listen(); // without it later starts still leave; they just cannot hand over
    const auto open = [&monitorLog, &logFiles](const QString &path) {
        if (path.isEmpty())
            return;
        if (path.endsWith(QStringLiteral(".rsm"), Qt::CaseInsensitive))
            logFiles.openTextFile(path);
        else
            monitorLog.openDataFile(path);
    };
    QObject::connect(server, &HandoffServer::handedOver, &window, [&window, open](const QString &path) {
        comeToFront(window);
        open(path);
    });
    QTimer::singleShot(0, &window, [open, file] { open(file); });
}

} // namespace ferrox
