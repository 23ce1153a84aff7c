#pragma once

#include <QByteArray>
#include <QString>

namespace ferrox::test {

// The master side of a pseudo-terminal in raw mode; the program under
// test opens slavePath() as its serial port.
class Pty
{
public:
    Pty();
    ~Pty();
    Pty(const Pty &) = delete;
    Pty &operator=(const Pty &) = delete;

    bool isValid() const { return m_master >= 0; }
    QString slavePath() const { return m_slavePath; }

    bool write(const QByteArray &bytes);
    // Reads what arrives within timeoutMs, stopping early once
    // atLeast bytes were read.
    QByteArray read(int atLeast, int timeoutMs);

private:
    int m_master = -1;
    int m_slaveKeeper = -1; // keeps the slave side alive between openings
    QString m_slavePath;
};

} // namespace ferrox::test
