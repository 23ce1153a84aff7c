// How long a log window takes to show the biggest rendering there is: a
// full capture (262,144 stream bytes, 131,072 monitored bytes) in mode 5,
// one row per byte, about 3 MB of code page 932 text. Run offscreen:
//   QT_QPA_PLATFORM=offscreen ferrox_views_bench
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
#include <memory>

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

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
