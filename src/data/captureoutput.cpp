#include "captureoutput.h"

#include "datafiles.h"
#include "capturestore.h"
#include "finishedcapture.h"

namespace ferrox {

CaptureOutput writeCaptureOutput(const MonitorData &data, const CaptureOutputRequest &request)
{
    RenderChoice render;
    render.DisplayModeNumber = request.files.textPath.isEmpty() ? 0 : request.DisplayModeNumber;
    render.header = request.header;
    const CaptureJudgement judgement = judgeCapture(data, render);

    CaptureFiles files = request.files;
    if (judgement.rendering) {
        const QByteArray &rendered = judgement.rendering->text;
        files.text = request.utf8 ? renderingAsUtf8(request.DisplayModeNumber, rendered) : rendered;
    } else {
        files.textPath.clear(); // no log for rejected data
    }
    const StoredCapture stored = storeCapture(data, files);

    CaptureOutput output;
    output.SequenceErrorCount = judgement.SequenceErrorCount;
    if (!stored.failures.isEmpty()) {
        output.status = CaptureOutput::Status::WriteFailed;
        // A failure already told (a reader gone) has no text.
        for (const QString &failure : stored.failures) {
            if (!failure.isEmpty())
                output.message += failure + u'\n';
        }
    } else if (judgement.verdict != CaptureVerdict::Sound) {
        output.status = CaptureOutput::Status::Rejected;
    }
    output.message += joinedLines(judgement.rejection, u"\n");
    return output;
}

QString outputPathProblem(const QString &path)
{
    return checkFileWritable(path).message;
}

} // namespace ferrox
