#pragma once

#include "timeline/splitfiles.h"
#include "timeline/streamsplitter.h"

#include <QByteArray>
#include <QString>

namespace ferrox::cli {

// Where a capture longer than the buffer goes: the stream cut into
// numbered data files as it arrives, each examined as a capture is.
class SplitOutput
{
public:
    SplitOutput(const QString &dataPath, qint32 splitBytes, int keepFiles, const ArrivalTimes &start);

    // A stored block of the capture (its end code, if any, at its end).
    // False once a file could not be written (failure() says why); the
    // capture is then to be stopped and nothing more is written.
    bool feed(QByteArray bytes, qint64 arrivalMicros);
    // Writes what is left; false when that failed. endedByProgram: see
    // StreamSplitter::finish(); lastByteCut() tells a lone half dropped.
    bool finish(bool endedByProgram);
    bool lastByteCut() const { return m_splitter.lastByteCut(); }

    const SplitFiles &files() const { return m_files; }
    // Monitored bytes received so far, and those in the files written.
    qint64 monitoredBytes() const { return m_splitter.streamBytes() / 2; }
    qint64 savedMonitoredBytes() const { return m_savedStreamBytes / 2; }
    qint64 sequenceErrors() const { return m_sequenceErrors; }
    const QString &failure() const { return m_failure; }

private:
    bool write(const StreamSplitter::Piece &piece);

    StreamSplitter m_splitter;
    SplitFiles m_files;
    qint64 m_sequenceErrors = 0;
    qint64 m_savedStreamBytes = 0; // without the end codes
    QString m_failure;
};

} // namespace ferrox::cli
