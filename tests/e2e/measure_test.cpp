// The line speed measurement against the built ferrox-board on a
// pseudo-terminal: through the measurement window and through
// ferrox-cli measure, with the result, the refusals and the stop.
#include "app/appfixture.h"
#include "boardprocess.h"
#include "support/clirun.h"
#include "platform/qtserialport.h"

#include <QAction>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace ferrox;
using namespace ferrox::test;

namespace {

// Count 534 is a bit time of 59544 ns: in the windows of 14400 and
// 19200 bit/s, the faster one wins.
const char *const kCounts = "--measure-counts 2865,534,1905,945";
const QString kResult = QStringLiteral("モニターライン通信速度の測定結果\n \n \n    19200bps\n \n");

struct MeasureWindowOverAPty : AppTest { std::unique_ptr<QtSerialPort> port; };

TEST_F(MeasureWindowOverAPty, ShowsTheRate)
{
    BoardProcess board(words(kCounts));
    FERROX_START_BOARD(board);
    port = std::make_unique<QtSerialPort>([link = board.linkPath()](int) { return link; });
    ASSERT_TRUE(wireWindow(*port));
    menuItem(QStringLiteral("mnuRateMeasure"))->trigger();
    QWidget *measurement = window().findChild<QWidget *>(QStringLiteral("frmBaudRate"));
    measurement->findChild<QPushButton *>(QStringLiteral("Cmd_Start"))->click();
    QLabel *text = measurement->findChild<QLabel *>(QStringLiteral("Label_RateMeasure"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return text->text() == kResult; }, 5000)) << text->text().toStdString();
}

TEST(MeasureOverAPty, TheCommandLineToolMeasuresRefusesAndStops)
{
    const struct { const char *board, *options; int exitCode; QString out, errEnd; } rows[] = {
        {kCounts, "", 0, kResult, {}},
        {"--firmware V1.03", "", 3, {}, QStringLiteral("のボードでは、モニターライン通信速度の測定ができません。\n")},
        // Ten records a second: --seconds ends it first, like the stop button.
        {"--rate 20", "--seconds 1", 4, {}, QStringLiteral("測定を中止しました。\n")},
    };
    for (const auto &row : rows) {
        BoardProcess board(words(row.board));
        FERROX_START_BOARD(board);
        const CliRun run = runCli(QStringList{QStringLiteral("measure"), QStringLiteral("--device"), board.linkPath()}
                                  + words(row.options));
        EXPECT_EQ(run.exitCode, row.exitCode) << row.board << run.err.toStdString();
        EXPECT_EQ(run.text(), row.out) << row.board;
        EXPECT_TRUE(run.err.endsWith(row.errEnd)) << row.board << ": " << run.err.toStdString();
    }
}

TEST(MeasureOverAPty, TheResultAsJsonForPrograms)
{
    BoardProcess board(words(kCounts));
    FERROX_START_BOARD(board);
    const CliRun run = runCli(words("measure --format json --device") << board.linkPath());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject result = QJsonDocument::fromJson(run.out).object();
    EXPECT_EQ(result.value(u"bits_per_second").toInt(), 19200) << run.out.toStdString();
    EXPECT_TRUE(result.value(u"time_utc").toString().endsWith(u'Z'));
    EXPECT_TRUE(run.out.endsWith("}\n"));
}

// Seen from the system calls: the stop leaves once, and it is drained
// from the driver (tcdrain, TCSBRK) before the port is closed. The only
// proof of the drain, so strace is no option: scripts/bootstrap installs it.
TEST(MeasureOverAPty, TheStopIsSentOnceAndDrainedBeforeThePortCloses)
{
    const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
    ASSERT_FALSE(strace.isEmpty()) << "strace is not installed: scripts/bootstrap installs it";
    BoardProcess board(words("--rate 20"));
    FERROX_START_BOARD(board);
    QTemporaryDir dir;
    // The leak checker of a sanitizer build cannot run under a tracer.
    const CliRun run = runShell(dir.path(), QStringLiteral("ASAN_OPTIONS=detect_leaks=0 exec \"$1\" -f -e trace=write,ioctl,close "
                                                           "-o calls \"$0\" measure --device \"$2\" --seconds 1"),
                                {strace, board.linkPath()});
    EXPECT_EQ(run.exitCode, 4) << run.err.toStdString();
    const QString calls = QString::fromUtf8(readFile(dir.filePath(QStringLiteral("calls"))));
    const QRegularExpression stop(QStringLiteral(R"(write\((\d+), "E", 1\))"));
    QRegularExpressionMatchIterator stops = stop.globalMatch(calls);
    ASSERT_TRUE(stops.hasNext()) << calls.toStdString();
    const QRegularExpressionMatch sent = stops.next();
    EXPECT_FALSE(stops.hasNext()) << "a second stop";
    const QString fd = sent.captured(1);
    const qsizetype closed = calls.indexOf(QStringLiteral("close(%1)").arg(fd), sent.capturedEnd());
    const qsizetype drained = calls.indexOf(QStringLiteral("ioctl(%1, TCSBRK, 1)").arg(fd), sent.capturedEnd());
    ASSERT_GT(closed, 0);
    EXPECT_GT(drained, 0);
    EXPECT_LT(drained, closed);
}

} // namespace
