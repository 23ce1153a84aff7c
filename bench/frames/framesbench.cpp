// How long a full buffer (131,072 monitored bytes) takes from its stream to
// a shown frame view: assembling, framing at gaps, Modbus RTU decoding with
// pairing, the chart and the table filled and painted, offscreen unless
// QT_QPA_PLATFORM says otherwise.
#include "frames/ui/framewindow.h"
#include "platform/dialogs.h"
#include "platform/settingsstore.h"
#include "platform/statusreport.h"

#include <QApplication>
#include <QTableView>

#include <benchmark/benchmark.h>

namespace {

// Requests of 8 bytes and responses of 11 (Read Holding Registers), 1 ms
// apart inside a frame, 20 ms between frames, until the buffer is full.
struct FullCapture
{
    ferrox::MonitoredBytes bytes;
    ferrox::ArrivalTimes times;
};

FullCapture fullModbusCapture()
{
    const QByteArray request = QByteArray::fromHex("1103006B00037687");
    const QByteArray response = QByteArray::fromHex("110306022B00000064C8BA");
    FullCapture capture;
    qint64 micros = 0;
    bool asking = true;
    while (capture.bytes.bytes.size() < 131072) {
        const QByteArray &frame = asking ? request : response;
        for (qsizetype i = 0; i < frame.size() && capture.bytes.bytes.size() < 131072; ++i) {
            const qint32 offset = qint32(capture.bytes.bytes.size()) * 2 + 1;
            capture.times.arrivals.append({offset - 1, micros += 1000});
            capture.bytes.bytes.append({offset, asking ? ferrox::Direction::J1 : ferrox::Direction::J2,
                                        std::uint8_t(frame.at(i))});
        }
        micros += 20000;
        asking = !asking;
    }
    return capture;
}

struct QuietDialogs : ferrox::Dialogs
{
    ferrox::MessageAnswer message(const QString &, ferrox::MessageIcon, ferrox::MessageButtons, const QString &) override
    {
        return ferrox::MessageAnswer::Ok;
    }
    std::optional<QString> openFile(const ferrox::FileDialogRequest &) override { return std::nullopt; }
    std::optional<QString> saveFile(const ferrox::FileDialogRequest &) override { return std::nullopt; }
    std::optional<ferrox::PrintChoice> print(QPrinter &, const ferrox::PrintRequest &) override { return std::nullopt; }
    bool pageSetup(QPrinter &, const QString &) override { return false; }
};

struct NoSettings : ferrox::SettingsStore
{
    QString GetSetting(const QString &, const QString &, const QString &, const QString &fallback) const override
    {
        return fallback;
    }
    void SaveSetting(const QString &, const QString &, const QString &, const QString &) override {}
};

struct NoStatus : ferrox::StatusPanel
{
    void setPanelText(const QString &) override {}
    void setProgressVisible(bool) override {}
    void setProgressValue(int) override {}
};

void BM_DecodeFullBufferAndShowFrames(benchmark::State &state)
{
    const FullCapture capture = fullModbusCapture();
    QuietDialogs dialogs;
    NoSettings store;
    ferrox::ProgramSettings settings(store);
    NoStatus status;
    int rows = 0;
    for (auto _ : state) {
        ferrox::FrameWindow window(capture.bytes, capture.times, {}, dialogs, settings, status,
                                   QStringLiteral("modbus-rtu"));
        window.resize(1000, 700);
        window.show();
        window.repaint();
        rows = window.model()->rowCount();
        state.PauseTiming();
        window.close();
        state.ResumeTiming();
    }
    state.counters["frames"] = rows;
}
BENCHMARK(BM_DecodeFullBufferAndShowFrames)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char **argv)
{
    // Painting is measured without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
