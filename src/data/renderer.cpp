#include "renderer.h"

#include "cp932.h"
#include "texts.h"

namespace ferrox {

std::optional<RenderResult> renderMonitorData(qint32 DisplayModeNumber, const CaptureBuffer &capture,
                                              const ReportHeaderSettings &header,
                                              const ProgressCallback &progress, ByteMapRequest byteMap,
                                              const TextPieceWriter &pieces)
{
    switch (DisplayMode(DisplayModeNumber)) {
    case DisplayMode::Hex:
        return RenderHex(capture, header, progress, byteMap, pieces);
    case DisplayMode::Ascii:
        return RenderAscii(capture, header, progress, byteMap, pieces);
    case DisplayMode::HexChar:
        return RenderHexChar(capture, header, progress, byteMap, pieces);
    case DisplayMode::Exchange:
        return RenderExchange(capture, header, progress, byteMap, pieces);
    case DisplayMode::Save:
        return RenderSave(capture, header, progress, byteMap, pieces);
    }
    return std::nullopt;
}

QByteArray renderingAsUtf8(qint32 DisplayModeNumber, QByteArrayView cp932Text)
{
    QString text = decodeCp932(cp932Text);
    text.replace(QStringLiteral("\r\r\n"), QStringLiteral("\n"));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (DisplayModeNumber == 4) {
        // The label is found by its text: the columns around it hold at
        // most eight characters, hexadecimal digits or spaces, never "|",
        // fourteen spaces and "|".
        const QString label = DataTexts::centreContinuation();
        text.replace(label, QString(label).remove(1, 1));
    }
    return text.toUtf8();
}

} // namespace ferrox
