// A window capture from the board on a saturated link until the buffer is
// full, with the received-byte counter on and, with "live", the simple
// monitor's window open on the capture's live feed: whether every byte the
// board sent was stored, and the processor time the program used for it:
// in all, and while the stream ran (before the processing of its data).
// usage: ferrox_capture_measure LINK_PATH SEED [live]   (the board streams
// random:SEED, looped, with --jumper 115200)
#include "app/ui/maintoolbar.h"
#include "app/ui/mainwindow.h"
#include "app/ui/settingspanel.h"
#include "app/windowwiring.h"
#include "board/traffic.h"
#include "data/capturebuffer.h"
#include "platform/dialogs.h"
#include "platform/qtserialport.h"
#include "platform/qtsettingsstore.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/resource.h>

namespace {

using namespace ferrox;

// Message boxes are printed, never shown: nothing may wait for a user.
class PrintedDialogs : public Dialogs
{
public:
    MessageAnswer message(const QString &text, MessageIcon, MessageButtons, const QString &) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return MessageAnswer::Ok;
    }
    std::optional<QString> openFile(const FileDialogRequest &) override { return std::nullopt; }
    std::optional<QString> saveFile(const FileDialogRequest &) override { return std::nullopt; }
    std::optional<PrintChoice> print(QPrinter &, const PrintRequest &) override { return std::nullopt; }
    bool pageSetup(QPrinter &, const QString &) override { return false; }
};

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 3 && !(argc == 4 && qstrcmp(argv[3], "live") == 0)) {
        std::fprintf(stderr, "usage: ferrox_capture_measure LINK_PATH SEED [live]\n");
        return 2;
    }
    const bool live = argc == 4;
    const QString link = QString::fromLocal8Bit(argv[1]);
    QString error;
    const std::optional<QByteArray> traffic = loadTraffic(QStringLiteral("random:") + QString::fromLatin1(argv[2]), error);
    if (!traffic) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 2;
    }
    QByteArray expected;
    while (expected.size() < CaptureBuffer::LastIndex)
        expected += *traffic;
    expected.truncate(CaptureBuffer::LastIndex);
    expected += char(0xFF);

    QTemporaryDir dir;
    QFile ini(dir.filePath(QStringLiteral("ferrox.ini")));
    if (!ini.open(QIODevice::WriteOnly) || ini.write("[Settings2]\nCOM_speed=115200\n") < 0)
        return 1;
    ini.close();
    QtSettingsStore store(ini.fileName());
    PrintedDialogs dialogs;
    MainWindow window(store, dialogs);
    // Shown, so the live view costs what it costs on a desktop.
    window.show();
    QtSerialPort port([link](int) { return link; });
    WindowWiring wiring(window, port, dir.path() + u'/');

    double cpuAtStart = 0;
    qint64 startedAt = 0;
    double streamingCpu = -1; // the capture's own part, before the processing of its data
    double streamingWall = 0;
    QObject::connect(&wiring.state(), &MonitorSession::changed, &app, [&] {
        if (startedAt != 0 && streamingCpu < 0 && wiring.state().phase() == MonitorPhase::Processing) {
            streamingCpu = cpuSeconds() - cpuAtStart;
            streamingWall = double(QDateTime::currentMSecsSinceEpoch() - startedAt) / 1000.0;
        }
        if (wiring.state().MonitorBusy() || startedAt == 0)
            return;
        const double cpu = cpuSeconds() - cpuAtStart;
        const double wall = double(QDateTime::currentMSecsSinceEpoch() - startedAt) / 1000.0;
        QFile stored(dir.filePath(QStringLiteral("rs_data.dat")));
        const QByteArray data = stored.open(QIODevice::ReadOnly) ? stored.readAll() : QByteArray();
        const bool whole = data == expected;
        std::printf("stored %lld stream bytes (%s), counter shows %s monitored bytes\n"
                    "capture %.1f s wall, %.2f s processor time (%.1f %% of one core)\n",
                    qlonglong(data.size()), whole ? "equal to what the board sent" : "DIFFERENT from what the board sent",
                    qPrintable(window.settingsPanel()->receivedBytesLabel()->text()), wall, cpu,
                    wall > 0 ? 100.0 * cpu / wall : 0.0);
        std::printf("while streaming %.1f s wall, %.2f s processor time (%.1f %% of one core)\n", streamingWall,
                    streamingCpu, streamingWall > 0 ? 100.0 * streamingCpu / streamingWall : 0.0);
        QCoreApplication::exit(whole ? 0 : 1);
    });
    wiring.startUp([&] {
        if (!wiring.state().BoardVerified()) {
            std::fprintf(stderr, "no board on %s\n", qPrintable(link));
            QCoreApplication::exit(1);
            return;
        }
        window.settingsPanel()->receivedBytesCheck()->setChecked(true);
        cpuAtStart = cpuSeconds();
        startedAt = QDateTime::currentMSecsSinceEpoch();
        window.menus().monitorStart->trigger();
        // Opened during the capture, the simple monitor shows the capture's
        // bytes and sends nothing to the board.
        if (live)
            window.toolBar()->simpleMonitor()->trigger();
    });
    return app.exec();
}
