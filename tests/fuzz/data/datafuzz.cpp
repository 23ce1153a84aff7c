// Feeds arbitrary bytes, as an opened or edited data file could hold them,
// to the examination and every renderer, and checks what must hold for any
// input: no crash, progress on its grid and falling, output linear in the
// data.
#include "data/capturebuffer.h"
#include "data/examine.h"
#include "data/renderer.h"

#include <cstdint>
#include <cstdlib>

using namespace ferrox;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void renderAll(const CaptureBuffer &capture)
{
    const ReportHeaderSettings header;
    for (qint32 mode = 1; mode <= 5; ++mode) {
        const qint32 grid = mode == 4 ? 2 : 5;
        qint32 last = 101;
        const auto progress = [&](qint32 remaining) {
            check(remaining % grid == 0);
            check(remaining < last);
            // The exchange view runs ahead by two positions: -200 / CaptureEnd at the end.
            check(remaining <= 100 && remaining >= -200);
            last = remaining;
        };
        const std::optional<RenderResult> result = renderMonitorData(mode, capture, header, progress);
        check(result.has_value());
        check(result->ReceiveErrorCount >= 0 && result->ReceiveErrorCount <= capture.CaptureEnd() + 1);
        check(result->text.size() <= 4096 + 128 * (qsizetype(capture.CaptureEnd()) + 1));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const CaptureBuffer capture = CaptureBuffer::fromStream(bytes);
    const qint32 errors = ExamineMonitorData(capture);
    check(errors >= 0 && errors <= capture.CaptureEnd() + 1);
    renderAll(capture);
    return 0;
}
