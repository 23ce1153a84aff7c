#pragma once

#include "bytemap.h"
#include "capturebuffer.h"
#include "progressgrid.h"
#include "reportheader.h"
#include "textsink.h"

#include <QByteArray>

#include <optional>

namespace ferrox {

// The five display modes, numbered as DisplayModeNumber counts them.
enum class DisplayMode : qint32 {
    Hex = 1,      // "モード1 <HEX>"
    Ascii = 2,    // "モード2 <ASCII>"
    HexChar = 3,  // "モード3 <HEX･CHAR>"
    Exchange = 4, // "モード4 <EXCHANGE>"
    Save = 5,     // "モード5 <SAVE>"
};

struct RenderResult
{
    // The exact bytes of "rs_text.rsm": the report header, then the mode's
    // lines, in code page 932 with CR LF line ends.
    QByteArray text;
    // Stream bytes with an undefined tag met before the end code.
    qint32 ReceiveErrorCount = 0;
    // The rendering ended early on malformed data ("モニターデータにエラーが
    // ありました。"); text holds what was written up to that point.
    bool failed = false;
    // Where each monitored byte shows in text; filled only when asked for.
    ByteMap byteMap;
    // Rendered in pieces: whether the writer took every piece.
    bool piecesWritten = true;
};

// Whether a rendering also reports its byte map (the windows colour and
// search with it; the command-line tool does not need it).
enum class ByteMapRequest { None, Wanted };

// Each renderer walks positions 0 to CaptureEnd of `capture` from a fresh
// state, stops at the first end code (or performs its closing step at the
// end of the data when there is none), and reports progress through
// `progress` (may be empty). Rendering never touches files or windows.
// With ByteMapRequest::Wanted the result also carries the byte map; the
// text is the same either way. Given `pieces` (and no byte map wanted),
// the text goes to it in pieces as it is written and the result's text
// stays empty.
RenderResult RenderHex(const CaptureBuffer &capture, const ReportHeaderSettings &header,
                       const ProgressCallback &progress = {},
                       ByteMapRequest byteMap = ByteMapRequest::None,
                       const TextPieceWriter &pieces = {});
RenderResult RenderAscii(const CaptureBuffer &capture, const ReportHeaderSettings &header,
                         const ProgressCallback &progress = {},
                       ByteMapRequest byteMap = ByteMapRequest::None,
                       const TextPieceWriter &pieces = {});
RenderResult RenderHexChar(const CaptureBuffer &capture, const ReportHeaderSettings &header,
                           const ProgressCallback &progress = {},
                       ByteMapRequest byteMap = ByteMapRequest::None,
                       const TextPieceWriter &pieces = {});
RenderResult RenderExchange(const CaptureBuffer &capture, const ReportHeaderSettings &header,
                            const ProgressCallback &progress = {},
                       ByteMapRequest byteMap = ByteMapRequest::None,
                       const TextPieceWriter &pieces = {});
RenderResult RenderSave(const CaptureBuffer &capture, const ReportHeaderSettings &header,
                        const ProgressCallback &progress = {},
                       ByteMapRequest byteMap = ByteMapRequest::None,
                       const TextPieceWriter &pieces = {});

// The renderer of DisplayModeNumber 1 to 5; any other number renders
// nothing (empty optional).
std::optional<RenderResult> renderMonitorData(qint32 DisplayModeNumber, const CaptureBuffer &capture,
                                              const ReportHeaderSettings &header,
                                              const ProgressCallback &progress = {},
                                              ByteMapRequest byteMap = ByteMapRequest::None,
                       const TextPieceWriter &pieces = {});

// A rendering as UTF-8 text for this system: every line ends with LF alone
// (mode 1's CR CR LF too), and mode 4's continuation rows line up with its
// arrow rows on screen: an arrow takes two bytes in code page 932 but one
// column on a UTF-8 terminal.
QByteArray renderingAsUtf8(qint32 DisplayModeNumber, QByteArrayView cp932Text);

} // namespace ferrox
