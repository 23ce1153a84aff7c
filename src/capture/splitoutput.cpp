#include "splitoutput.h"

#include "data/examine.h"
#include "data/streamformat.h"

namespace ferrox {

SplitOutput::SplitOutput(const QString &dataPath, qint32 splitBytes, int keepFiles)
    : m_splitBytes(splitBytes), m_files(dataPath, keepFiles)
{
}

void SplitOutput::begin(const ArrivalTimes &start)
{
    if (m_splitter)
        m_earlierStreamBytes += m_splitter->streamBytes();
    m_splitter.emplace(m_splitBytes, start);
    m_lastByteCut = false;
}

bool SplitOutput::feed(QByteArray bytes, qint64 arrivalMicros)
{
    if (!m_failure.isEmpty() || !m_splitter)
        return m_failure.isEmpty();
    // The board's end code ends the last piece like every other.
    if (bytes.endsWith(char(EndCode)))
        bytes.chop(1);
    for (const StreamSplitter::Piece &piece : m_splitter->feed(bytes, arrivalMicros)) {
        if (!write(piece))
            return false;
    }
    return true;
}

bool SplitOutput::finish(bool endedByProgram)
{
    if (!m_failure.isEmpty() || !m_splitter)
        return m_failure.isEmpty();
    const std::optional<StreamSplitter::Piece> last = m_splitter->finish(endedByProgram);
    m_lastByteCut = m_splitter->lastByteCut();
    return !last || write(*last);
}

bool SplitOutput::write(const StreamSplitter::Piece &piece)
{
    const CaptureBuffer capture = CaptureBuffer::fromStream(piece.stream);
    m_sequenceErrors += ExamineMonitorData(capture);
    const qint64 filesBefore = m_files.written();
    const FileWriteResult written = m_files.write(piece);
    // A data file kept without its sidecar is saved all the same.
    if (m_files.written() > filesBefore)
        m_savedStreamBytes += piece.stream.size() - 1;
    if (!written.ok)
        m_failure = written.message;
    return written.ok;
}

} // namespace ferrox
