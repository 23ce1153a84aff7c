// How long a log window takes to show the biggest rendering there is: a
// full capture (262,144 stream bytes, 131,072 monitored bytes) in mode 5,
// one row per byte, about 3 MB of code page 932 text. Run offscreen:
//   QT_QPA_PLATFORM=offscreen ferrox_views_bench
// After the runs it prints the log window's targets with a verdict each,
// and ends with status 1 when one is missed.
#include "data/renderer.h"
#include "views/bytecells.h"
#include "views/logtext.h"
#include "views/ui/bytehighlighter.h"
#include "views/ui/logtextview.h"
#include "version/programinfo.h"

#include <QScrollBar>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include <unistd.h>

#include <benchmark/benchmark.h>

namespace {

QByteArray fullModeFiveRendering()
{
    QByteArray text = ferrox::encodeLogText(ferrox::mainTitleText() + QStringLiteral("\r\r\n"));
    text += ferrox::encodeLogText(QStringLiteral("モニターデータ　　： 2026年12月06日16:00:00\r\n\r\n"));
    text += QByteArray(79, '_') + "\r\n\r\n";
    text += ferrox::encodeLogText(QStringLiteral("行番号\tデータ方向\tDEC\tHEX\r\n\r\n"));
    for (int row = 0; row < 131072; ++row) {
        const int value = (row * 7) & 0xFF;
        QByteArray dec = QByteArray::number(value);
        dec += QByteArray(3 - dec.size(), ' ');
        text += QByteArray::number(1000000 + row).mid(1) + (row % 3 ? "\tJ1  ->J2\t" : "\tJ1<-  J2\t") + dec
                + '\t' + QByteArray::number(0x100 + value, 16).toUpper().mid(1) + "\r\n";
    }
    return text;
}

// Decoding alone: the part that runs before the view gets the text.
void BM_DecodeFullRendering(benchmark::State &state)
{
    const QByteArray bytes = fullModeFiveRendering();
    for (auto _ : state)
        benchmark::DoNotOptimize(ferrox::decodeLogText(bytes));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_DecodeFullRendering)->Unit(benchmark::kMillisecond);

// From the bytes to the whole text in the view, event loop steps included,
// into a new window's view holding only the progress texts.
void BM_LoadFullRenderingIntoLogView(benchmark::State &state)
{
    const QByteArray bytes = fullModeFiveRendering();
    int lines = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto view = std::make_unique<ferrox::LogTextView>();
        view->resize(520, 360);
        view->show();
        view->appendAtCaret(QStringLiteral("131072バイトを処理中...　しばらくお待ちください...　\r\n"));
        QEventLoop loop;
        QObject::connect(view.get(), &ferrox::LogTextView::textLoaded, &loop, &QEventLoop::quit);
        state.ResumeTiming();
        view->loadBytes(bytes, false);
        if (view->isLoading())
            loop.exec();
        view->viewport()->repaint();
        state.PauseTiming();
        lines = view->document()->blockCount();
        view.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
    state.counters["lines"] = lines;
}
BENCHMARK(BM_LoadFullRenderingIntoLogView)->Unit(benchmark::kMillisecond)->Iterations(5);

// A full buffer's conversation as the board sends it: turns of 1 to 40
// bytes, J1 and J2 in alternation, every byte value.
QByteArray fullConversation()
{
    QByteArray stream;
    std::uint32_t seed = 7;
    bool j1 = true;
    while (stream.size() < 262144) {
        seed = seed * 1664525u + 1013904223u;
        const int length = 1 + int((seed >> 8) % 40);
        for (int i = 0; i < length && stream.size() < 262144; ++i) {
            seed = seed * 1664525u + 1013904223u;
            const int b = int(seed >> 24);
            const int high = j1 ? 0xA0 : 0x80;
            stream.append(char(high | (b >> 4))).append(char((high + 0x10) | (b & 0x0F)));
        }
        j1 = !j1;
    }
    return stream + char(0xFF);
}

std::unique_ptr<ferrox::LogTextView> colouredView(ferrox::ByteHighlighter *&highlighter)
{
    auto view = std::make_unique<ferrox::LogTextView>();
    view->resize(640, 480);
    view->show();
    highlighter = new ferrox::ByteHighlighter(view->document());
    highlighter->setDirectionColors(true);
    highlighter->followScreen(*view);
    return view;
}

// Runs the event loop until the view's load is over.
void waitUntilLoaded(ferrox::LogTextView &view)
{
    if (!view.isLoading())
        return;
    QEventLoop loop;
    QObject::connect(&view, &ferrox::LogTextView::textLoaded, &loop, &QEventLoop::quit);
    loop.exec();
}

// A display command's part with colours on: the rendering with its byte
// map, the map turned into positions, the load started.
void startColouredRendering(ferrox::LogTextView &view, ferrox::ByteHighlighter &highlighter,
                            const ferrox::CaptureBuffer &capture, qint32 mode)
{
    const ferrox::RenderResult r = *ferrox::renderMonitorData(mode, capture, {}, {}, ferrox::ByteMapRequest::Wanted);
    highlighter.setCells(ferrox::ByteCells(r.text, r.byteMap));
    view.loadBytes(r.text, false);
}

// As a display command does it with colours on: the rendering with its
// byte map, the map turned into positions, the text loaded and coloured
// step by step, shown. Argument: the display mode.
void BM_LoadColouredRendering(benchmark::State &state)
{
    const ferrox::CaptureBuffer capture = ferrox::CaptureBuffer::fromStream(fullConversation());
    for (auto _ : state) {
        state.PauseTiming();
        ferrox::ByteHighlighter *highlighter = nullptr;
        auto view = colouredView(highlighter);
        state.ResumeTiming();
        startColouredRendering(*view, *highlighter, capture, qint32(state.range(0)));
        waitUntilLoaded(*view);
        view->viewport()->repaint();
        state.PauseTiming();
        view.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadColouredRendering)->Arg(4)->Arg(5)->Unit(benchmark::kMillisecond)->Iterations(3);

// The longest the event loop goes without a turn, from its start to its
// destruction: how long input would wait at worst.
class PauseProbe
{
public:
    PauseProbe()
    {
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            m_longestNs = std::max(m_longestNs, m_clock.nsecsElapsed());
            m_clock.start();
        });
        m_clock.start();
        m_timer.start();
    }
    double longestMs() const { return double(std::max(m_longestNs, m_clock.nsecsElapsed())) / 1e6; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_longestNs = 0;
};

// As a display command opens a full coloured mode-5 log (131,072 lines):
// from the rendering to its first screen painted, the event loop then free
// for input. Counters: the whole load from the same start (loaded_ms, the
// figure of BM_LoadColouredRendering/5) and the longest the event loop
// waited meanwhile (longest_pause_ms, the worst of the iterations).
void BM_OpenFullLogFirstScreen(benchmark::State &state)
{
    const ferrox::CaptureBuffer capture = ferrox::CaptureBuffer::fromStream(fullConversation());
    double loadedMs = 0;
    double longestPauseMs = 0;
    bool loadingAfterFirstScreen = true;
    for (auto _ : state) {
        state.PauseTiming();
        ferrox::ByteHighlighter *highlighter = nullptr;
        auto view = colouredView(highlighter);
        QElapsedTimer clock;
        state.ResumeTiming();
        clock.start();
        startColouredRendering(*view, *highlighter, capture, 5);
        view->viewport()->repaint();
        state.PauseTiming();
        loadingAfterFirstScreen &= view->isLoading();
        {
            const PauseProbe probe;
            waitUntilLoaded(*view);
            longestPauseMs = std::max(longestPauseMs, probe.longestMs());
        }
        view->viewport()->repaint();
        loadedMs += double(clock.nsecsElapsed()) / 1e6;
        view.reset();
        state.ResumeTiming();
    }
    state.counters["loaded_ms"] = loadedMs / double(state.iterations());
    state.counters["longest_pause_ms"] = longestPauseMs;
    // 0 would mean the whole text went in before the first screen showed.
    state.counters["sliced"] = loadingAfterFirstScreen;
}
BENCHMARK(BM_OpenFullLogFirstScreen)->Unit(benchmark::kMillisecond)->Iterations(3);

// Scrolling a coloured full rendering a page at a time, each page painted.
void BM_ScrollColouredRendering(benchmark::State &state)
{
    const ferrox::CaptureBuffer capture = ferrox::CaptureBuffer::fromStream(fullConversation());
    const ferrox::RenderResult r = *ferrox::renderMonitorData(4, capture, {}, {}, ferrox::ByteMapRequest::Wanted);
    ferrox::ByteHighlighter *highlighter = nullptr;
    auto view = colouredView(highlighter);
    highlighter->setCells(ferrox::ByteCells(r.text, r.byteMap));
    view->loadBytes(r.text, false);
    waitUntilLoaded(*view);
    QScrollBar *bar = view->verticalScrollBar();
    for (auto _ : state) {
        const int next = bar->value() + bar->pageStep();
        bar->setValue(next > bar->maximum() ? 0 : next);
        view->viewport()->repaint();
    }
}
BENCHMARK(BM_ScrollColouredRendering)->Unit(benchmark::kMillisecond);

// Prints the log window's targets after the runs, each as a ratio to
// decoding the same rendering in the same run, since this machine's
// figures move between runs: the first screen within 5 times, the whole
// load within 15 times, no pause of the event loop over 50 ms.
class TargetsReporter : public benchmark::ConsoleReporter
{
public:
    using ConsoleReporter::ConsoleReporter;

    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            // With repetitions, the median stands for them.
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.error_occurred || (run.run_type == Run::RT_Aggregate && !median))
                continue;
            const std::string name = run.run_name.function_name + '/' + run.run_name.args;
            m_ms[name] = run.GetAdjustedRealTime() * benchmark::GetTimeUnitMultiplier(benchmark::kMillisecond)
                / benchmark::GetTimeUnitMultiplier(run.time_unit);
            if (const auto pause = run.counters.find("longest_pause_ms"); pause != run.counters.end())
                m_longestPauseMs = pause->second.value;
        }
    }

    // False when a target is missed; nothing to say unless all three ran.
    bool reportTargets() const
    {
        const auto decode = m_ms.find("BM_DecodeFullRendering/");
        const auto first = m_ms.find("BM_OpenFullLogFirstScreen/");
        const auto whole = m_ms.find("BM_LoadColouredRendering/5");
        if (decode == m_ms.end() || first == m_ms.end() || whole == m_ms.end())
            return true;
        std::printf("== a full coloured mode-5 log against decoding it (%.1f ms)\n", decode->second);
        const auto line = [](const char *what, double ms, double ratio, double target) {
            std::printf("  %-14s %8.1f ms %6.1f times (target %4.0f)  %s\n", what, ms, ratio, target,
                        ratio <= target ? "ok" : "MISSED");
            return ratio <= target;
        };
        bool ok = line("first screen", first->second, first->second / decode->second, 5);
        ok &= line("whole load", whole->second, whole->second / decode->second, 15);
        std::printf("  %-14s %8.1f ms (target 50 ms)  %s\n", "longest pause", m_longestPauseMs,
                    m_longestPauseMs <= 50 ? "ok" : "MISSED");
        return ok && m_longestPauseMs <= 50;
    }

private:
    std::map<std::string, double> m_ms;
    double m_longestPauseMs = 0;
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    TargetsReporter reporter(isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_ColorTabular
                                                   : benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.reportTargets() ? 0 : 1;
}
