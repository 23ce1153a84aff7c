#pragma once

#include "support/testfiles.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace ferrox::test {

// The built ferrox-board serving a pseudo-terminal linked at linkPath().
class BoardProcess
{
public:
    static QString binary(); // the program's path

    explicit BoardProcess(const QStringList &options = {});
    // A board at a link path of the test's choosing: one started after
    // another went away comes back where the program looks for it.
    BoardProcess(const QString &linkPath, const QStringList &options);
    ~BoardProcess();
    BoardProcess(const BoardProcess &) = delete;
    BoardProcess &operator=(const BoardProcess &) = delete;

    // Waits until the board has printed its slave path. False when it did
    // not start; lacksPty() then tells whether a pseudo-terminal was wanting.
    bool start();
    bool lacksPty() const { return m_lacksPty; }
    QString errors() const { return m_errors; }
    QString linkPath() const { return m_linkPath; }
    QString slavePath() const { return m_slavePath; } // as the board printed it
    QProcess &process() { return m_process; }
    // Listens on the link: true when, once what was under way has come and
    // been dropped, the board sends nothing for quietMs (it heard a last
    // stop).
    bool isQuiet(int quietMs = 300) const;
    // For a board started with --tell-heard: waits until it has heard
    // `command` from the program (false when it had not within timeoutMs,
    // a safety net only).
    bool waitUntilHeard(char command, int timeoutMs = 60000);

private:
    QTemporaryDir m_dir;
    QString m_linkPath;
    QString m_slavePath;
    QStringList m_options;
    QProcess m_process;
    QString m_errors;
    bool m_lacksPty = false;
};

} // namespace ferrox::test

// Starts the board or ends the test: skipped where no pseudo-terminal can be
// had, failed otherwise.
#define FERROX_START_BOARD(board)                                                                     \
    do {                                                                                              \
        if (!(board).start()) {                                                                       \
            if ((board).lacksPty())                                                                   \
                GTEST_SKIP() << "no pseudo-terminal here: " << (board).errors().toStdString();       \
            FAIL() << "ferrox-board did not start: " << (board).errors().toStdString();              \
        }                                                                                             \
    } while (false)
