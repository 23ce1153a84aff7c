// Runs the simple monitor's window against a board streaming at full link
// speed for a while and prints what it cost: processor time, resident
// memory at the start and the end of the measured span, the monitored
// bytes the view received against those the port delivered, and the bytes
// left waiting at the port (a growing backlog means the window cannot keep
// up).
//
// With "port" the window is closed once the stream runs, which leaves the
// cost of reading the port, to compare with.
//
// usage: ferrox_livewindow_soak DEVICE SECONDS [hex|text|port]
#include "capture/livelines.h"
#include "capture/simplemonitor.h"
#include "capture/ui/livelinesview.h"
#include "capture/ui/realmonitorwindow.h"

#include "link/linkowner.h"
#include "platform/qtserialport.h"
#include "session/monitorsession.h"

#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>

using namespace ferrox;

namespace {

class SoakContext : public SimpleMonitorContext
{
public:
    QString monitorSpeedText() const override { return QStringLiteral(" 57600"); }
    QString directionText() const override { return QStringLiteral("双方向"); }
    LiveDisplay liveDisplay() const override { return display; }
    void setSamplingEnabled(bool) override {}
    void disableSignalPanel() override {}
    void enableSignalPanel() override {}
    void showWindow() override {}
    void closeWindow() override {}

    LiveDisplay display = LiveDisplay::Hex;
};

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: ferrox_livewindow_soak DEVICE SECONDS [hex|text|port]\n");
        return 2;
    }
    const QString device = args.at(1);
    const int seconds = args.at(2).toInt();
    SoakContext context;
    if (args.value(3) == QLatin1String("text"))
        context.display = LiveDisplay::Text;

    QtSerialPort port([device](int) { return device; });
    port.setSettings(QStringLiteral("115200,n,8,1"));
    if (!port.open()) {
        std::fprintf(stderr, "cannot open %s: error %d\n", qPrintable(device), port.lastError());
        return 1;
    }
    LinkOwner owner(port);
    // Counted before the monitor reads them.
    qint64 streamBytes = 0;
    QObject::connect(&port, &SerialPort::receiveNotification, [&] { streamBytes += port.bytesWaiting(); });
    MonitorSession session; // a verified V1.05 board, nothing else running
    session.setCheckResults(false, true, QStringLiteral("V1.05"));
    SimpleMonitor monitor(owner, session, context);

    QMdiArea area;
    area.resize(1000, 700);
    area.show();
    monitor.TempMonitorCheck(true);
    QMdiSubWindow *child = RealMonitorWindow::open(&area, monitor.lines());
    auto *window = qobject_cast<RealMonitorWindow *>(child->widget());
    window->liveView()->setDirectionColors(true, QColor(0x00, 0x60, 0x9A), QColor(0xA0, 0x40, 0x00));
    monitor.TP_Monitor(true);
    const LiveLines &lines = monitor.lines();
    const bool portAlone = args.value(3) == QLatin1String("port");
    if (portAlone)
        child->close();

    // Measured after a short warm-up, so that start-up costs do not count.
    double cpuStart = 0;
    long rssStart = 0;
    qint64 bytesStart = 0;
    qint64 shownStart = 0;
    QTimer::singleShot(2000, [&] {
        cpuStart = cpuSeconds();
        rssStart = residentKiB();
        bytesStart = streamBytes;
        shownStart = lines.bytesAppended();
        QTimer::singleShot(seconds * 1000, [&] {
            const double cpu = cpuSeconds() - cpuStart;
            std::printf("seconds measured:     %d\n", seconds);
            std::printf("stream bytes read:    %lld (%.0f per second)\n", static_cast<long long>(streamBytes - bytesStart),
                        (streamBytes - bytesStart) / double(seconds));
            std::printf("processor time:       %.2f s (%.1f %% of one core)\n", cpu, 100.0 * cpu / seconds);
            std::printf("resident memory:      %ld KiB at start, %ld KiB at end\n", rssStart, residentKiB());
            // Every two stream bytes the port delivered make one monitored byte.
            const qint64 delivered = (streamBytes - bytesStart) / 2;
            const qint64 received = lines.bytesAppended() - shownStart;
            std::printf("monitored bytes:      %lld delivered, %lld received by the view (%s)\n",
                        static_cast<long long>(delivered), static_cast<long long>(received),
                        portAlone                      ? "the window closed"
                            : qAbs(delivered - received) <= 1 ? "none lost"
                                                              : "BYTES LOST");
            std::printf("lines in view:        %lld (%lld cells held)\n", static_cast<long long>(lines.lineCount()),
                        static_cast<long long>(lines.endCell() - lines.firstCell()));
            std::printf("bytes left waiting:   %d\n", port.bytesWaiting());
            monitor.TempMonitorCheck(false);
            monitor.TP_Monitor(false);
            QTimer::singleShot(100, &app, &QApplication::quit);
        });
    });
    return app.exec();
}
