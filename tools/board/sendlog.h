#pragma once

#include <QFile>
#include <QString>

namespace ferrox {

// The board's log of when it sent each piece of a stream, to measure how
// late the program's arrival times are: "stream offset<TAB>microseconds
// since 1970-01-01T00:00:00Z" a line, on the same wall clock the program's
// arrival times start from. Offsets start from 0 again at each stream.
class SendLog
{
public:
    // Creates or truncates the file; false with a message for the user.
    bool open(const QString &path, QString &error);
    void note(qint64 offset);

private:
    QFile m_file;
};

} // namespace ferrox
