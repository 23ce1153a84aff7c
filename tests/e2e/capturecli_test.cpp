// ferrox-cli capture against the simulated board on a pseudo-terminal: the
// files it leaves, its end on SIGTERM, and one exit status of each kind.
#include "boardprocess.h"
#include "clirun.h"

#include "board/traffic.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ferrox;
using namespace ferrox::test;

namespace {

const QByteArray endCode(1, char(0xFF));

class CaptureCli : public testing::Test
{
protected:
    QString dataPath() const { return dir.filePath(QStringLiteral("capture.dat")); }
    QString textPath() const { return dir.filePath(QStringLiteral("capture.txt")); }

    QStringList captureArguments(const BoardProcess &board, const QStringList &options) const
    {
        return words("capture --device") << board.linkPath() << QStringLiteral("-o") << dataPath() << options;
    }

    static QByteArray contentOf(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
};

TEST_F(CaptureCli, ADemoCaptureIsStoredWholeAndRendered)
{
    BoardProcess board(words("--traffic demo --rate 2000"));
    FERROX_START_BOARD(board);
    const CliRun run = runCli(captureArguments(board, words("--seconds 2 --mode 4 --text") << textPath()));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.endsWith(QStringLiteral("monitored bytes: 94\nsequence errors: 0\n"))) << run.err.toStdString();
    EXPECT_EQ(contentOf(dataPath()), demoTraffic() + endCode);
    // The rendering itself is the render tests'; here, that the capture's device reaches it.
    const QString text = QStringDecoder("windows-31j").decode(contentOf(textPath()));
    EXPECT_TRUE(text.contains(QStringLiteral("\r\n通信ポート　　　　： ") + board.linkPath() + QStringLiteral("\r\n")));
}

TEST_F(CaptureCli, AStreamStoppedByTerminationKeepsWholeBytesInUtf8)
{
    BoardProcess board(words("--traffic demo --loop --rate 2000 --jumper 115200 --firmware V1.02"));
    FERROX_START_BOARD(board);
    const QStringList options = words("--pc-speed 115200 --direction j1-to-j2 --monitor-speed 57600 --data-width 9 "
                                      "--mode 1 --utf8 --text")
        << textPath();
    // Its reader gone, standard output costs the capture nothing.
    const CliRun run = runCli(captureArguments(board, options), 1000, true);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("Ferrox LM V1.02 57600bps\n"))) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("sequence errors: 0\n"))) << run.err.toStdString();
    const QByteArray stream = contentOf(dataPath());
    ASSERT_GT(stream.size(), 100);
    EXPECT_TRUE(stream.endsWith(endCode));
    EXPECT_EQ(stream.size() % 2, 1) << "whole monitored bytes, then the end code";
    for (qsizetype i = 0; i + 1 < stream.size(); ++i)
        ASSERT_EQ(std::uint8_t(stream[i]) & 0xE0, 0xA0) << "only what J1 sent, at " << i;
    EXPECT_TRUE(QString::fromUtf8(contentOf(textPath())).contains(QStringLiteral(" J1⇒J2 : 05 ")));
}

// One row per exit status; no temporary files are left behind.
TEST_F(CaptureCli, EveryEndHasItsExitStatus)
{
    const struct
    {
        const char *name, *boardOptions, *cliOptions;
        int exitCode;
        bool dataWritten;
    } cases[] = {
        {"no end code", "--no-end-code", "--seconds 2", 0, true},
        {"unwritable text file", "", "--text /", 1, false},
        {"bad value", "", "--monitor-speed 9601", 2, false},
        {"silent board", "--silent", "--seconds 2", 3, false},
        {"receive errors", "--error-tags 3", "--seconds 2", 4, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(dataPath());
        QFile::remove(dataPath() + QStringLiteral(".times"));
        BoardProcess board(words(c.boardOptions));
        FERROX_START_BOARD(board);
        const CliRun run = runCli(captureArguments(board, words(c.cliOptions)));
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_FALSE(run.err.isEmpty());
        EXPECT_EQ(QFile::exists(dataPath()), c.dataWritten);
        if (c.dataWritten) {
            EXPECT_TRUE(contentOf(dataPath()).endsWith(endCode));
        }
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2 * int(c.dataWritten))
            << "the data, its arrival times, no temporary files";
    }
}

} // namespace
