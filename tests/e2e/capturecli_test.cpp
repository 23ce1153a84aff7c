// ferrox-cli capture against the simulated board on a pseudo-terminal: the
// files it leaves and its exit status for every way a capture ends.
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
    EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    EXPECT_TRUE(run.err.endsWith(QStringLiteral("モニター開始 ... モニター停止。\n"
                                                "monitored bytes: 94\n"
                                                "sequence errors: 0\n")))
        << run.err.toStdString();
    EXPECT_EQ(contentOf(dataPath()), demoTraffic() + endCode);

    // The rendering itself is the render tests'; here, that the capture's settings reach it.
    const QString text = QStringDecoder("windows-31j").decode(contentOf(textPath()));
    EXPECT_TRUE(text.startsWith(QStringLiteral("Ferrox Line Monitor Version 2.3.21  \r\r\n"))) << text.toStdString();
    for (const QString &line : {QStringLiteral("\r\n通信ポート　　　　： ") + board.linkPath() + QStringLiteral("\r\n"),
                                QStringLiteral("|J1→000001    |"), QStringLiteral("|    000001←J2|06")})
        EXPECT_TRUE(text.contains(line)) << line.toStdString();
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

    const QString text = QString::fromUtf8(contentOf(textPath()));
    for (const QString &line : {QStringLiteral("ＰＣ通信スピード　： 115200\r\n"), QStringLiteral("モニタ方向　　　　： J1→J2\r\n"),
                                QStringLiteral("モニタデータ長　　： ９bit"), QStringLiteral(" J1⇒J2 : 05 ")})
        EXPECT_TRUE(text.contains(line)) << line.toStdString();
}

TEST_F(CaptureCli, EveryEndHasItsExitStatus)
{
    const struct
    {
        const char *name, *boardOptions, *cliOptions;
        int exitCode;
        bool dataWritten;
        QString said;    // on standard error
        int textWritten; // 1 yes, 0 no, -1 either (depends on where the line broke)
    } cases[] = {
        {"silent board", "--silent", "--seconds 2", 3, false, QStringLiteral("*** ボードと通信ができませんでした ***"), 0},
        {"receive errors", "--error-tags 3", "--seconds 2", 4, true,
         QStringLiteral("モニターデータに 6個所のエラーがありました。\n以下の対策を試みてください。"), 0},
        {"no end code", "--no-end-code", "--seconds 2", 0, true, QStringLiteral("モニター強制停止。"), 1},
        {"line hung up", "--loop --hangup-after 1", "", 3, true, QStringLiteral(" は使用できませんでした。"), -1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(dataPath());
        QFile::remove(textPath());
        BoardProcess board(words(c.boardOptions));
        FERROX_START_BOARD(board);
        const CliRun run =
            runCli(captureArguments(board, words(c.cliOptions) << QStringLiteral("--text") << textPath()));
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
        EXPECT_TRUE(run.err.contains(c.said)) << run.err.toStdString();
        EXPECT_EQ(QFile::exists(dataPath()), c.dataWritten);
        if (c.dataWritten) {
            EXPECT_TRUE(contentOf(dataPath()).endsWith(endCode));
            EXPECT_TRUE(QFile::exists(dataPath() + QStringLiteral(".times"))) << "the arrival times beside it";
        }
        if (c.textWritten >= 0) {
            EXPECT_EQ(QFile::exists(textPath()), c.textWritten == 1);
        }
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(),
                  2 * int(QFile::exists(dataPath())) + int(QFile::exists(textPath())))
            << "no temporary files left";
    }
}

TEST_F(CaptureCli, BadArgumentsAndUnwritableFilesAreRefusedBeforeTheBoardIsTouched)
{
    BoardProcess board; // not started: nothing may reach it
    const QStringList base = words("capture --device") << board.missingPath();
    const QStringList withData = base + words("-o") << dataPath();
    const struct
    {
        const char *name;
        QStringList arguments;
        int exitCode;
    } cases[] = {
        {"no data file", base, 2},
        // One bad value stands for every option's.
        {"monitor speed", withData + words("--monitor-speed 9601"), 2},
        {"mode without text", withData + words("--mode 2"), 2},
        {"unwritable data file", base + words("-o") << dir.filePath(QStringLiteral("gone/c.dat")), 1},
        {"unwritable text file", withData + words("--text") << dir.path(), 1},
        {"missing device", withData, 3},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun run = runCli(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_FALSE(run.err.isEmpty());
        EXPECT_FALSE(QFile::exists(dataPath()));
    }
}

} // namespace
