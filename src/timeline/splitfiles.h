#pragma once

#include "streamsplitter.h"

#include "data/datafiles.h"

#include <QString>

namespace ferrox {

// The numbered data files of a capture longer than the buffer: for
// "OUT.dat" the pieces go to "OUT-00001.dat", "OUT-00002.dat", ... each
// with its own ".times" sidecar. With a ring of K files only the newest K
// are kept: writing piece n removes piece n − K.
class SplitFiles
{
public:
    // keepFiles: how many files the ring keeps; 0 keeps them all.
    SplitFiles(const QString &dataPath, int keepFiles);

    // The name of piece `number` (from 1): "-" and five digits (more when
    // needed) before the suffix.
    QString pieceName(qint64 number) const;

    // Why the capture cannot start: the first existing file of the series
    // (a piece of any number or its sidecar, an earlier run's). A split
    // capture never overwrites a file: empty only when none exists.
    QString collision() const;

    // Writes the next piece and its sidecar as a capture is stored, then
    // drops the piece that leaves the ring. A failure (a full disk) leaves
    // every file written whole: a data file that could not get its sidecar
    // is kept. An empty piece (nothing came) is not written, like an empty
    // capture.
    FileWriteResult write(const StreamSplitter::Piece &piece);

    qint64 written() const { return m_written; }

private:
    // True for stem + five or more digits + the suffix.
    bool isPieceName(const QString &name, const QString &stem) const;

    QString m_base;   // the path up to where the number goes
    QString m_suffix; // ".dat", or empty
    int m_keep;
    qint64 m_written = 0;
};

} // namespace ferrox
