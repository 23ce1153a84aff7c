#include "captureoutput.h"

#include "datafiles.h"
#include "finishedcapture.h"
#include "sidecar.h"

namespace ferrox {

namespace {

// Nothing for no text: a failure already told has none.
QString line(const QString &text)
{
    return text.isEmpty() ? text : text + u'\n';
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
    RenderChoice render;
    render.DisplayModeNumber = request.textPath.isEmpty() ? 0 : request.DisplayModeNumber;
    render.header = request.header;
    const CaptureJudgement judgement = judgeCapture(data, render);
    output.SequenceErrorCount = judgement.SequenceErrorCount;
    if (judgement.verdict != CaptureVerdict::Sound) {
        if (output.status == CaptureOutput::Status::Accepted)
            output.status = CaptureOutput::Status::Rejected;
        output.message += joinedLines(judgement.rejection, u"\n");
        return output;
    }
    if (!judgement.rendering)
        return output;
    const QByteArray &rendered = judgement.rendering->text;
    const QByteArray text = request.utf8 ? renderingAsUtf8(request.DisplayModeNumber, rendered) : rendered;
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
