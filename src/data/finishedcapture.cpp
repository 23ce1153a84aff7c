#include "finishedcapture.h"

#include "examine.h"
#include "texts.h"

namespace ferrox {

namespace {

ExitReport exitReport(const CaptureEnding &ending)
{
    switch (ending.exit) {
    case CaptureExit::EndCode:
        return {{DataTexts::streamEnded()}, {}, {}};
    case CaptureExit::Overflow:
        return {{DataTexts::bufferOverflow(), DataTexts::forcedStop()}, {}, {}};
    case CaptureExit::DataRate:
        return {{}, DataTexts::dataRateExceeded(), {}};
    case CaptureExit::NoEndCode:
        return {{DataTexts::forcedStop()}, {}, DataTexts::forcedStop()};
    case CaptureExit::PortLost:
        return {{ending.portProblem}, {}, ending.portProblem};
    }
    return {};
}

} // namespace

ExitReport reportExit(const CaptureEnding &ending)
{
    ExitReport report = exitReport(ending);
    if (ending.lastByteCut) {
        report.lines << DataTexts::lastByteCut();
        report.note += (report.note.isEmpty() ? QString() : DataTexts::noteSeparator()) + DataTexts::lastByteCut();
    }
    return report;
}

bool isEmptyCapture(const CaptureBuffer &capture)
{
    return capture.CaptureEnd() == 0;
}

CaptureJudgement judgeCapture(const MonitorData &data, const RenderChoice &render)
{
    CaptureJudgement judgement;
    if (isEmptyCapture(data.capture)) {
        judgement.verdict = CaptureVerdict::Empty;
        judgement.rejection = {DataTexts::nothingReceived()};
        return judgement;
    }
    judgement.SequenceErrorCount = ExamineMonitorData(data.capture);
    if (judgement.SequenceErrorCount != 0) {
        judgement.verdict = CaptureVerdict::SequenceErrors;
        judgement.rejection = DataTexts::sequenceErrorAdvice(judgement.SequenceErrorCount);
        return judgement;
    }
    judgement.rendering = renderData(data, render);
    return judgement;
}

std::optional<RenderResult> renderData(const MonitorData &data, const RenderChoice &choice)
{
    ReportHeaderSettings header = choice.header;
    header.dataName = data.CaptureTimestamp;
    return renderMonitorData(choice.DisplayModeNumber, data.capture, header, choice.progress, choice.byteMap);
}

QString joinedLines(const QStringList &lines, QStringView lineEnd)
{
    QString text;
    for (const QString &line : lines) {
        text += line;
        text += lineEnd;
    }
    return text;
}

} // namespace ferrox
