#pragma once

#include "liveview.h"

#include <QByteArray>

#include <vector>

namespace ferrox {

// The monitored bytes as lines of text for a terminal or a pipe, as they
// arrive (UTF-8, LF). A line ends when the sender changes, after an idle
// gap, or when it holds MaxBytes bytes, so a busy line shows at once.
//
// Forms of a line:
//   Lines: "14:05:09.123 J1> 02 41 42 03  .AB." (local time of the line's
//          first byte, sender "J1>", "J2>" or "-->" when the tag names
//          none, the bytes in hex, then the bytes with every one outside
//          printable ASCII as ".")
//   Hex:   " 02 41 42 03", the live view's hex form
//   Text:  "[STX]AB[ETX]", the live view's text form
class LiveTextLines
{
public:
    enum class Form { Lines, Hex, Text };
    static constexpr int MaxBytes = 16;

    LiveTextLines(Form form, qint64 gapMicros) : m_form(form), m_gapMicros(gapMicros) {}

    // The lines these bytes complete. A block that arrives a gap or more
    // after the last one first ends the pending line.
    QByteArray feed(const std::vector<LiveByte> &bytes, qint64 epochMicros);
    // The pending line, ended now (the gap passed, or the end came).
    QByteArray flush();
    bool hasPending() const { return !m_pending.empty(); }

private:
    QByteArray line() const;

    const Form m_form;
    const qint64 m_gapMicros;
    std::vector<LiveByte> m_pending;
    qint64 m_pendingStart = 0; // epoch microseconds of the pending line's first byte
    qint64 m_lastArrival = 0;
};

} // namespace ferrox
