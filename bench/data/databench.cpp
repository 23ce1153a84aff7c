// Renderers and examination on captures up to a full buffer: 262,144
// stream bytes and the end code, both directions, mixed content (text,
// control codes, Shift-JIS, binary). Sizes double up to the full buffer
// so the fit shows whether the cost is linear.
//
// --ferrox_write_sample=PATH writes the full-buffer sample as a data file
// (for the command-line comparison in scripts/bench) and exits.
#include "data/capturebuffer.h"
#include "data/datafiles.h"
#include "data/examine.h"
#include "data/renderer.h"
#include "data/streamformat.h"

#include <benchmark/benchmark.h>

#include <QString>

#include <cstdio>
#include <cstring>

using namespace ferrox;

namespace {

// A deterministic conversation: each turn one side sends 1 to 40 bytes of
// one kind, until `streamBytes` stream bytes are filled; then the end code.
QByteArray sampleStream(qsizetype streamBytes)
{
    static const QByteArray sjis = QByteArrayLiteral("\x91\xaa\x92\xe8\x92\x6c\x82\xa0\x82\xa2\x83\x65\x83\x58\x83\x67");
    QByteArray stream;
    stream.reserve(streamBytes + 1);
    std::uint32_t seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    bool j1 = true;
    while (stream.size() < streamBytes) {
        const int length = 1 + int(next() % 40);
        const int kind = int(next() % 4);
        for (int i = 0; i < length && stream.size() < streamBytes; ++i) {
            std::uint8_t b = 0;
            switch (kind) {
            case 0: b = std::uint8_t(0x20 + next() % 0x5F); break;      // printable text
            case 1: b = std::uint8_t("\x02\x03\x05\x06\x0D\x0A\x15\x1B\x09\x00"[next() % 10]); break;
            case 2: b = std::uint8_t(sjis[i % sjis.size()]); break;     // Japanese text
            default: b = std::uint8_t(next()); break;                    // binary
            }
            const int high = j1 ? 0xA0 : 0x80;
            stream.append(char(high | (b >> 4)));
            stream.append(char((high + 0x10) | (b & 0x0F)));
        }
        j1 = !j1;
    }
    stream.truncate(streamBytes);
    stream.append(char(EndCode));
    return stream;
}

const qint64 fullStream = CaptureBuffer::LastIndex; // 262,144 stream bytes before the end code

void render(benchmark::State &state, qint32 mode, ByteMapRequest byteMap)
{
    const CaptureBuffer capture = CaptureBuffer::fromStream(sampleStream(state.range(0)));
    const ReportHeaderSettings header;
    qint64 outputBytes = 0;
    int reports = 0;
    for (auto _ : state) {
        const std::optional<RenderResult> result =
            renderMonitorData(mode, capture, header, [&reports](qint32) { ++reports; }, byteMap);
        outputBytes = result->text.size();
        benchmark::DoNotOptimize(result->text.constData());
    }
    state.SetComplexityN(state.range(0));
    state.counters["outputMB"] = double(outputBytes) / 1e6;
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void renderMode(benchmark::State &state, qint32 mode)
{
    render(state, mode, ByteMapRequest::None);
}

// The same with the byte map the log windows ask for (no speed target of
// its own; it shows what the map costs).
void renderModeMapped(benchmark::State &state, qint32 mode)
{
    render(state, mode, ByteMapRequest::Wanted);
}

void BM_Examine(benchmark::State &state)
{
    const CaptureBuffer capture = CaptureBuffer::fromStream(sampleStream(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(ExamineMonitorData(capture));
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void sizes(benchmark::internal::Benchmark *b)
{
    for (qint64 n = fullStream / 8; n < fullStream; n *= 2)
        b->Arg(n);
    b->Arg(fullStream);
    b->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
}

} // namespace

BENCHMARK_CAPTURE(renderMode, RenderHex, 1)->Apply(sizes);
BENCHMARK_CAPTURE(renderMode, RenderAscii, 2)->Apply(sizes);
BENCHMARK_CAPTURE(renderMode, RenderHexChar, 3)->Apply(sizes);
BENCHMARK_CAPTURE(renderMode, RenderExchange, 4)->Apply(sizes);
BENCHMARK_CAPTURE(renderMode, RenderSave, 5)->Apply(sizes);
BENCHMARK(BM_Examine)->Apply(sizes);
BENCHMARK_CAPTURE(renderModeMapped, RenderHex, 1)->Arg(fullStream)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(renderModeMapped, RenderAscii, 2)->Arg(fullStream)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(renderModeMapped, RenderHexChar, 3)->Arg(fullStream)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(renderModeMapped, RenderExchange, 4)->Arg(fullStream)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(renderModeMapped, RenderSave, 5)->Arg(fullStream)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    const char *option = "--ferrox_write_sample=";
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], option, std::strlen(option)) == 0) {
            const QString path = QString::fromLocal8Bit(argv[i] + std::strlen(option));
            const FileWriteResult written = writeFileAtomically(path, sampleStream(fullStream));
            if (!written.ok)
                std::fprintf(stderr, "%s\n", written.message.toLocal8Bit().constData());
            return written.ok ? 0 : 1;
        }
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
