#pragma once

#include "monitordata.h"
#include "renderer.h"
#include "reportheader.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace ferrox {

// How a capture's stream ended.
enum class CaptureExit {
    EndCode,   // the board's end code came: the user's stop, or the board's own end
    Overflow,  // the buffer filled; the program stopped the board
    DataRate,  // the PC fell behind the stream; the program stopped the board
    NoEndCode, // the end code did not come after the stop; the program ended the stream
    PortLost   // the port failed mid-stream (an unplugged adapter)
};

struct CaptureEnding
{
    CaptureExit exit = CaptureExit::EndCode;
    // PortLost: the port's failure as one line, naming the port and its code.
    QString portProblem;
    // The program's ending came between the two halves of a monitored byte:
    // its lone high half was dropped (every byte before it is kept).
    bool lastByteCut = false;
};

// What the user is told as the stream ends. Lines come without line ends.
struct ExitReport
{
    // The capture's log, right after "モニター開始 ... " (the first line
    // continues it).
    QStringList lines;
    // Told on its own, after the capture: a message box in the window, a
    // line of the log without one. Empty for none.
    QString alarm;
    // Why the stream ended without its end code, and that its last byte
    // was cut, told where it outlives the rendering (the status line, the
    // top of the rendered log): one line. Empty for a stream that ended
    // with it, whole.
    QString note;
};

ExitReport reportExit(const CaptureEnding &ending);

enum class CaptureVerdict {
    Sound,         // rendered; it becomes the program's current data
    Empty,         // nothing but the end code
    SequenceErrors // stored as it came, for the user to look into, but not rendered
};

// How data is rendered: a mode of 0 renders nothing.
struct RenderChoice
{
    qint32 DisplayModeNumber = 0;
    // The settings lines of the log's header; its data name is the
    // capture's CaptureTimestamp.
    ReportHeaderSettings header;
    ProgressCallback progress;
    ByteMapRequest byteMap = ByteMapRequest::None;
};

struct CaptureJudgement
{
    CaptureVerdict verdict = CaptureVerdict::Sound;
    qint32 SequenceErrorCount = 0;
    // Why the data is not rendered, without line ends; empty for sound data.
    QStringList rejection;
    // Sound data in the chosen mode; none for a mode that does not exist.
    std::optional<RenderResult> rendering;
};

// Nothing but the end code: refused for rendering and for storing alike.
bool isEmptyCapture(const CaptureBuffer &capture);

// data rendered as chosen, named by its CaptureTimestamp; none for a mode
// that does not exist.
std::optional<RenderResult> renderData(const MonitorData &data, const RenderChoice &choice);

// The judgement after every capture: an empty capture and one with
// tag-sequence errors (the count, then the advice) are rejected; a sound
// one is rendered as chosen.
CaptureJudgement judgeCapture(const MonitorData &data, const RenderChoice &render);

// lines, each followed by lineEnd.
QString joinedLines(const QStringList &lines, QStringView lineEnd);

} // namespace ferrox
