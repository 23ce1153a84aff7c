#include "capturerecorder.h"

#include "data/streamformat.h"

namespace ferrox {

void CaptureRecorder::start()
{
    m_capture = CaptureBuffer();
    m_count = 0;
    m_exit = Exit::Running;
    m_lastByteCut = false;
}

qsizetype CaptureRecorder::feed(QByteArrayView block)
{
    if (!isRunning())
        return 0;
    qsizetype stored = 0;
    for (const char c : block) {
        const auto b = std::uint8_t(c);
        if (m_keepsStream)
            m_capture.setAt(m_count, b);
        ++stored;
        if (b == EndCode) {
            end(Exit::EndCode);
            break;
        }
        if (!m_keepsStream)
            continue;
        ++m_count;
        if (m_count == CaptureLimit) {
            end(Exit::Overflow);
            break;
        }
    }
    return stored;
}

bool CaptureRecorder::checkWaitingCount(qint16 waiting)
{
    if (!isRunning() || waiting >= 0)
        return false;
    end(Exit::DataRate);
    return true;
}

void CaptureRecorder::endStream()
{
    if (isRunning())
        end(Exit::Unfinished);
}

void CaptureRecorder::end(Exit exit)
{
    m_exit = exit;
    // The overflow exit ends on an even count, where a sound stream never
    // has a lone half; it keeps its end code at the buffer's last index.
    const bool endedByTheProgram = exit == Exit::Unfinished || exit == Exit::DataRate;
    if (endedByTheProgram && m_count > 0 && isHighHalf(m_capture.at(m_count - 1))) {
        --m_count;
        m_lastByteCut = true;
    }
    // Every exit leaves the end code right after the stored stream bytes.
    m_capture.setAt(m_count, EndCode);
    m_capture.setCaptureEnd(m_count);
}

} // namespace ferrox
