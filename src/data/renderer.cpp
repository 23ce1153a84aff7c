#include "renderer.h"

namespace ferrox {

std::optional<RenderResult> renderMonitorData(qint32 DisplayModeNumber, const CaptureBuffer &capture,
                                              const ReportHeaderSettings &header,
                                              const ProgressCallback &progress)
{
    switch (DisplayMode(DisplayModeNumber)) {
    case DisplayMode::Hex:
        return RenderHex(capture, header, progress);
    case DisplayMode::Ascii:
        return RenderAscii(capture, header, progress);
    case DisplayMode::HexChar:
        return RenderHexChar(capture, header, progress);
    case DisplayMode::Exchange:
        return RenderExchange(capture, header, progress);
    case DisplayMode::Save:
        return RenderSave(capture, header, progress);
    }
    return std::nullopt;
}

} // namespace ferrox
