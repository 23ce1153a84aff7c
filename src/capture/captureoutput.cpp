#include "captureoutput.h"

#include "texts.h"

#include "data/cp932.h"
#include "data/datafiles.h"
#include "data/examine.h"
#include "data/renderer.h"
#include "data/sidecar.h"
#include "data/texts.h"

namespace ferrox {

namespace {

// Nothing for no text: a failure already told has none.
QString line(const QString &text)
{
    return text.isEmpty() ? text : text + u'\n';
}

QString rejection(const CaptureBuffer &capture, qint32 SequenceErrorCount)
{
    if (capture.CaptureEnd() == 0)
        return line(DataTexts::nothingReceived());
    return line(CaptureTexts::sequenceErrors(SequenceErrorCount))
        + CaptureTexts::sequenceErrorAdvice().join(u'\n') + u'\n';
}

} // namespace

CaptureOutput writeCaptureOutput(const MonitorData &data, const CaptureOutputRequest &request)
{
    CaptureOutput output;
    FileWriteResult stored = request.writeFile(request.dataPath, data.capture.stream());
    // The arrival times beside it, never stale ones from an earlier capture;
    // a stream on standard output has no place beside it.
    if (stored.ok && request.hasSidecar(request.dataPath))
        stored = placeSidecar(request.dataPath, data.times);
    if (!stored.ok) {
        output.status = CaptureOutput::Status::WriteFailed;
        output.message = line(stored.message);
    }
    output.SequenceErrorCount = ExamineMonitorData(data.capture);
    if (data.capture.CaptureEnd() == 0 || output.SequenceErrorCount != 0) {
        if (output.status == CaptureOutput::Status::Accepted)
            output.status = CaptureOutput::Status::Rejected;
        output.message += rejection(data.capture, output.SequenceErrorCount);
        return output;
    }
    if (request.textPath.isEmpty())
        return output;

    ReportHeaderSettings header = request.header;
    header.dataName = data.CaptureTimestamp;
    const std::optional<RenderResult> rendered =
        renderMonitorData(request.DisplayModeNumber, data.capture, header);
    if (!rendered)
        return output;
    const QByteArray text = request.utf8 ? renderingAsUtf8(request.DisplayModeNumber, rendered->text) : rendered->text;
    const FileWriteResult written = request.writeFile(request.textPath, text);
    if (!written.ok) {
        output.status = CaptureOutput::Status::WriteFailed;
        output.message += line(written.message);
    }
    return output;
}

QString outputPathProblem(const QString &path)
{
    return checkFileWritable(path).message;
}

} // namespace ferrox
