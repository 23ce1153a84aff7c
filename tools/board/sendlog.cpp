#include "sendlog.h"

#include <chrono>

namespace ferrox {

bool SendLog::open(const QString &path, QString &error)
{
    m_file.setFileName(path);
    if (m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return true;
    error = QStringLiteral("--send-log: cannot write %1: %2").arg(path, m_file.errorString());
    return false;
}

void SendLog::note(qint64 offset)
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const qint64 micros = std::chrono::duration_cast<std::chrono::microseconds>(now).count();
    // One write per line: a log cut off by a kill ends with whole lines.
    m_file.write(QByteArray::number(offset) + '\t' + QByteArray::number(micros) + '\n');
}

} // namespace ferrox
