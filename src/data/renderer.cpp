#include "renderer.h"

namespace ferrox {

std::optional<RenderResult> renderMonitorData(qint32 DisplayModeNumber, const CaptureBuffer &capture,
                                              const ReportHeaderSettings &header,
                                              const ProgressCallback &progress, ByteMapRequest byteMap)
{
    switch (DisplayMode(DisplayModeNumber)) {
    case DisplayMode::Hex:
        return RenderHex(capture, header, progress, byteMap);
    case DisplayMode::Ascii:
        return RenderAscii(capture, header, progress, byteMap);
    case DisplayMode::HexChar:
        return RenderHexChar(capture, header, progress, byteMap);
    case DisplayMode::Exchange:
        return RenderExchange(capture, header, progress, byteMap);
    case DisplayMode::Save:
        return RenderSave(capture, header, progress, byteMap);
    }
    return std::nullopt;
}

} // namespace ferrox
