// ferrox-cli decode over a capture of the simulated board's Modbus RTU
// conversation, every request and response named and paired, and what it
// says about data it can only partly decode; its timeline chart. Wireshark
// and tshark watching the board through ferrox-cli: a live pcap stream
// read while the capture runs, the export's records and the live ones
// read by Wireshark's Modbus RTU dissector a message each (their bytes and
// times: the timeline's and frames' pcap tests), and ferrox-cli as an
// extcap interface found and run by tshark as a user other than root,
// silent unless it fails.
#include "boardprocess.h"
#include "support/clirun.h"

#include "data/datatesting.h"
#include "support/testfiles.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <unistd.h>

using namespace ferrox;
using namespace ferrox::test;
using namespace ferrox::testing;

namespace {

QString tshark()
{
    return QStandardPaths::findExecutable(QStringLiteral("tshark"));
}

#define FERROX_NEED_TSHARK()                                \
    do {                                                    \
        if (tshark().isEmpty())                             \
            GTEST_SKIP() << "tshark is not installed here"; \
    } while (false)

// The records given to the Modbus RTU dissector, with its CRC check on.
const QString asModbus = QStringLiteral("-d rtacser.data,mbrtu -o mbrtu.crc_verification:TRUE");
// What tshark reads in each record: its protocols, the unit, the function
// (without the exception bit), the exception code and the CRC's status
// (1 good, 0 bad), comma-separated.
const QString modbusFields = QStringLiteral("-T fields -E separator=, -e frame.protocols -e mbrtu.unit_id "
                                            "-e modbus.func_code -e modbus.exception_code -e mbrtu.crc16.status");

// tshark's reading of the pcap, a line a record.
QStringList tsharkLines(const QString &pcap, const QString &options = asModbus + u' ' + modbusFields)
{
    QProcess reader;
    reader.start(tshark(), QStringList{QStringLiteral("-r"), pcap} + options.split(u' '));
    EXPECT_TRUE(reader.waitForFinished(30000));
    EXPECT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
    return QString::fromUtf8(reader.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

QList<QJsonObject> jsonLines(const QString &out)
{
    QList<QJsonObject> objects;
    for (const QString &line : out.split(u'\n', Qt::SkipEmptyParts))
        objects << QJsonDocument::fromJson(line.toUtf8()).object();
    return objects;
}

// The same fields as ferrox-cli decode gives them for a frame of JSON lines.
QString decodedFields(const QJsonObject &frame)
{
    const QByteArray bytes = QByteArray::fromHex(frame.value(QStringLiteral("hex")).toString().toLatin1());
    const bool exception = std::uint8_t(bytes.at(1)) & 0x80;
    const bool badCrc = frame.value(QStringLiteral("problem")).toString().contains(QStringLiteral("CRC"));
    return QStringLiteral("rtacser:mbrtu:modbus,%1,%2,%3,%4")
        .arg(std::uint8_t(bytes.at(0)))
        .arg(std::uint8_t(bytes.at(1)) & 0x7F)
        .arg(exception ? QString::number(std::uint8_t(bytes.at(2))) : QString())
        .arg(badCrc ? 0 : 1);
}

// ferrox-cli run as Wireshark runs its extcap capture, into a plain file
// for the FIFO, stopped with SIGTERM once records have come (when it has
// not ended by itself).
CliRun extcapCapture(BoardProcess &board, const QString &fifoFile, const QStringList &extra = {}, bool stopOnRecords = true)
{
    const QString fifo = writeFile(fifoFile, {});
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("FERROX_COM1"), board.linkPath());
    QProcess cli;
    cli.setProcessEnvironment(environment);
    cli.start(QStringLiteral(FERROX_CLI_BINARY),
              words("extcap --capture --extcap-interface ferrox-COM1 --fifo") << fifo << extra);
    for (int i = 0; i < 100 && (!stopOnRecords || QFileInfo(fifo).size() <= 24) && !cli.waitForFinished(100); ++i) {
    }
    if (cli.state() == QProcess::NotRunning)
        return {cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1, cli.readAllStandardOutput(),
                QString::fromUtf8(cli.readAllStandardError())};
    cli.terminate();
    return endedRun(cli);
}

} // namespace

// The names, verdicts and pairing rules are the decoder's tests; here, a
// capture's requests each paired, its times reaching the response times.
TEST(DecodeCli, PairsAndTimesEveryRequestAndResponseOfACapturedModbusConversation)
{
    QTemporaryDir dir;
    BoardProcess board(words("--traffic modbus --rate 2000"));
    FERROX_START_BOARD(board);
    const QString data = dir.filePath(QStringLiteral("modbus.dat"));
    const CliRun capture = runCli(words("capture --device") << board.linkPath() << QStringLiteral("-o") << data
                                                            << words("--seconds 2"));
    ASSERT_EQ(capture.exitCode, 0) << capture.err.toStdString();

    const CliRun run = runCli(QStringList {QStringLiteral("decode"), data} << words("--decoder modbus-rtu --format jsonl"));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QList<QJsonObject> frames = jsonLines(run.text());
    ASSERT_EQ(frames.size(), 20) << run.out.toStdString();
    for (int i = 0; i < 20; i += 2)
        EXPECT_EQ(frames.at(i).value(QStringLiteral("paired_with")).toInt(), i + 2) << "request " << i;
    EXPECT_TRUE(frames.at(1).value(QStringLiteral("response_us")).isDouble()) << "the capture's times give response times";
    EXPECT_EQ(frames.at(19).value(QStringLiteral("problem")).toString(), QStringLiteral("例外コード02 ILLEGAL DATA ADDRESS"));
}

// A poll every 100 ms, each message in one read, the first with a broken
// CRC: its silences end the frames without --gap, and --only picks by kind.
TEST(DecodeCli, SparseModbusTrafficDecodesIntoItsFramesAndOnlyPicksByKind)
{
    QTemporaryDir dir;
    const QString data = writeFile(dir.filePath(QStringLiteral("mb.dat")),
                                   byJ1(QByteArray::fromHex("1103006B00032387")) + byJ1(QByteArray::fromHex("110400080001B298"))
                                       + byJ2(QByteArray::fromHex("110402000AF8F4")) + endCode());
    writeFile(data + QStringLiteral(".times"), "2026-12-06T22:00:51.250000+09:00\n0\t0\n16\t100000\n32\t110000\n");
    const QStringList decode = QStringList {QStringLiteral("decode"), data} << words("--decoder modbus-rtu --format jsonl");
    const CliRun run = runCli(decode);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QList<QJsonObject> frames = jsonLines(run.text());
    ASSERT_EQ(frames.size(), 3) << run.out.toStdString();
    const QList<QJsonObject> crc = jsonLines(runCli(QStringList(decode) << words("--only crc")).text());
    ASSERT_EQ(crc.size(), 1);
    EXPECT_EQ(crc.at(0).value(QStringLiteral("number")).toInt(), 1);
    EXPECT_EQ(runCli(QStringList {QStringLiteral("decode"), data} << words("--only crcs")).exitCode, 2);
}

TEST(TimelineChartCli, WritesTheResponseTimeChartAsPngWhateverTheSuffixsCase)
{
    QTemporaryDir dir;
    const QString data = writeFile(dir.filePath(QStringLiteral("poll.dat")), byJ1("PQ") + byJ2("abc") + byJ1("R") + endCode());
    writeFile(data + QStringLiteral(".times"), "2026-12-06T22:00:51.250000+09:00\n0\t1000\n4\t3500\n10\t9000\n");
    // The option takes the suffix in either case; an upper-case one once
    // aborted the tool. (SVG: the chart painter's tests.)
    const QString chart = dir.filePath(QStringLiteral("CHART.PNG"));
    const CliRun run = runCli({QStringLiteral("timeline"), data, QStringLiteral("--chart"), chart});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(readFile(chart).startsWith("\x89PNG"));
    EXPECT_EQ(runCli({QStringLiteral("timeline"), data, QStringLiteral("--chart"), dir.filePath(QStringLiteral("c.gif"))}).exitCode, 2);
}

// A conversation with a corrupted response and an exception: the live
// records and the export's, both cut by the Modbus RTU decoder, and
// ferrox-cli decode see the same frames.
TEST(WiresharkCli, TsharkAndDecodeAgreeOnEveryFrameOfAModbusCapture)
{
    FERROX_NEED_TSHARK();
    QTemporaryDir dir;
    const QString traffic = writeFile(dir.filePath(QStringLiteral("traffic.dat")),
        byJ1(QByteArray::fromHex("1103006B00037687")) + byJ2(QByteArray::fromHex("110306022B00000064C8BA"))
            + byJ1(QByteArray::fromHex("110400080001B298")) + byJ2(QByteArray::fromHex("110402000AF8F5")) // bad CRC
            + byJ1(QByteArray::fromHex("01030000000AC5CD")) + byJ2(QByteArray::fromHex("018302C0F1"))     // exception
            + byJ1(QByteArray::fromHex("1106000100039A9B")) + byJ2(QByteArray::fromHex("1106000100039A9B"))
            + endCode());
    BoardProcess board(QStringList{QStringLiteral("--traffic"), traffic});
    FERROX_START_BOARD(board);
    const QString data = dir.filePath(QStringLiteral("modbus.dat"));
    const QString live = dir.filePath(QStringLiteral("live.pcap"));
    // The live records cut as decode cuts the stored capture: a busy PC's
    // late reads split no message.
    const CliRun capture = runCli(words("capture --device") << board.linkPath()
                                      << words("--format pcap --decoder modbus-rtu --seconds 2 -o") << data,
                                  {}, live);
    ASSERT_EQ(capture.exitCode, 0) << capture.err.toStdString();
    const QString exported = dir.filePath(QStringLiteral("export.pcap"));
    const CliRun exporting = runCli(QStringList{QStringLiteral("export"), data, QStringLiteral("-o"), exported}
                                    << words("--format pcap --decoder modbus-rtu"));
    ASSERT_EQ(exporting.exitCode, 0) << exporting.err.toStdString();
    const CliRun decoded = runCli(QStringList{QStringLiteral("decode"), data} << words("--decoder modbus-rtu --format jsonl"));
    ASSERT_EQ(decoded.exitCode, 0) << decoded.err.toStdString();

    QStringList expected;
    for (const QJsonObject &frame : jsonLines(decoded.text()))
        expected << decodedFields(frame);
    ASSERT_EQ(expected.size(), 8) << decoded.text().toStdString();
    EXPECT_EQ(expected.at(3), QStringLiteral("rtacser:mbrtu:modbus,17,4,,0"));
    EXPECT_EQ(expected.at(5), QStringLiteral("rtacser:mbrtu:modbus,1,3,2,1"));
    const std::string frames = expected.join(u'\n').toStdString();
    EXPECT_EQ(tsharkLines(live).join(u'\n').toStdString(), frames);
    EXPECT_EQ(tsharkLines(exported).join(u'\n').toStdString(), frames);
    // Records cut by a decoder are pcap's alone.
    EXPECT_EQ(runCli(QStringList{QStringLiteral("export"), data} << words("--format csv --decoder modbus-rtu -o -")).exitCode, 2);
}

// A reader that falls behind is told once that the live output skips
// what it cannot take; the data files keep every byte.
TEST(WiresharkCli, AReaderThatFallsBehindIsToldTheLiveOutputSkips)
{
    BoardProcess board(words("--traffic random:7 --flood 2000000"));
    FERROX_START_BOARD(board);
    QTemporaryDir dir;
    const CliRun run = runShell(dir.path(),
                                QStringLiteral("set -o pipefail; \"$0\" capture --device \"$1\" --format pcap --seconds 3 --split-bytes 262144 "
                                               "-o line.dat | (sleep 3; cat > /dev/null)"),
                                {board.linkPath()});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err.count(QStringLiteral("the live output is not read fast enough; it skips what it cannot take")), 1)
        << run.err.toStdString();
}

// Wireshark shows anything on the extcap's standard error as an error.
TEST(WiresharkCli, TheExtcapWritesToStandardErrorOnlyWhenItFails)
{
    BoardProcess board(words("--traffic demo --loop"));
    FERROX_START_BOARD(board);
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("good.pcap"));
    const CliRun good = extcapCapture(board, fifo);
    EXPECT_EQ(good.exitCode, 0);
    EXPECT_EQ(good.err, QString());
    EXPECT_GT(QFileInfo(fifo).size(), 24);
    // Asked for, the progress goes to the debug file.
    const QString debug = dir.filePath(QStringLiteral("debug.txt"));
    const CliRun debugged = extcapCapture(board, dir.filePath(QStringLiteral("debugged.pcap")), {QStringLiteral("--debug"), QStringLiteral("--debug-file"), debug});
    EXPECT_EQ(debugged.err, QString());
    EXPECT_TRUE(QString::fromUtf8(readFile(debug)).contains(QStringLiteral("通信確認ＯＫ。")));

    BoardProcess silent(words("--silent"));
    FERROX_START_BOARD(silent);
    const CliRun failed = extcapCapture(silent, dir.filePath(QStringLiteral("failed.pcap")));
    EXPECT_EQ(failed.exitCode, 3);
    EXPECT_FALSE(failed.err.isEmpty());
    // A link lost mid-capture is told too.
    BoardProcess unplugged(words("--traffic demo --loop --hangup-after 0.3"));
    FERROX_START_BOARD(unplugged);
    const CliRun lost = extcapCapture(unplugged, dir.filePath(QStringLiteral("lost.pcap")), {}, false);
    EXPECT_EQ(lost.exitCode, 3);
    EXPECT_FALSE(lost.err.isEmpty());
    EXPECT_FALSE(lost.err.contains(QStringLiteral("通信確認ＯＫ"))) << "only the failure";
}

TEST(WiresharkCli, TsharkReadsTheLivePcapStreamWhileTheCaptureRuns)
{
    FERROX_NEED_TSHARK();
    BoardProcess board(words("--traffic demo --loop --rate 2000"));
    FERROX_START_BOARD(board);
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("line.dat"));
    QProcess cli;
    QProcess reader;
    cli.setStandardOutputProcess(&reader);
    reader.start(tshark(), words("-l -r -"));
    cli.start(QStringLiteral(FERROX_CLI_BINARY),
              words("capture --device") << board.linkPath() << words("--format pcap --seconds 4 -o") << data);
    ASSERT_TRUE(cli.waitForStarted(5000));
    QByteArray packets; // tshark prints a line a packet
    while (packets.count('\n') < 3 && reader.waitForReadyRead(5000))
        packets += reader.readAllStandardOutput();
    EXPECT_GE(packets.count('\n'), 3) << reader.readAllStandardError().toStdString();
    EXPECT_EQ(cli.state(), QProcess::Running) << "the packets came while the capture ran";

    ASSERT_TRUE(cli.waitForFinished(15000));
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    ASSERT_TRUE(reader.waitForFinished(15000));
    EXPECT_EQ(reader.exitCode(), 0);
}

TEST(WiresharkCli, TsharkAsAnotherUserListsTheInterfaceAndCapturesFromTheBoard)
{
    FERROX_NEED_TSHARK();
    if (::geteuid() != 0)
        GTEST_SKIP() << "changing to another user needs root";
    BoardProcess board(words("--traffic demo --loop --rate 2000"));
    FERROX_START_BOARD(board);
    // The other user reaches the board's terminal, the link and a folder of its own.
    QFile::setPermissions(board.slavePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther
                                                 | QFileDevice::WriteOther);
    QTemporaryDir dir;
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                          | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther);
    ASSERT_TRUE(QFile::link(QStringLiteral(FERROX_CLI_BINARY), dir.filePath(QStringLiteral("ferrox-extcap"))));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("WIRESHARK_EXTCAP_DIR"), dir.path());
    environment.insert(QStringLiteral("FERROX_COM1"), board.slavePath());
    environment.insert(QStringLiteral("HOME"), dir.path());
    const auto asNobody = [&](const QStringList &arguments) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(dir.path());
        process.start(QStringLiteral("setpriv"), words("--reuid=65534 --regid=65534 --clear-groups") << tshark() << arguments);
        EXPECT_TRUE(process.waitForFinished(20000)) << arguments.join(u' ').toStdString();
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        return process.readAllStandardOutput();
    };

    const QByteArray interfaces = asNobody(words("-D"));
    EXPECT_TRUE(interfaces.contains("ferrox-COM1 (ferrox line monitor (" + QFile::encodeName(board.slavePath()) + "))"))
        << interfaces.toStdString();
    const QByteArray packets = asNobody(words("-l -i ferrox-COM1 -a duration:3"));
    EXPECT_GT(packets.count('\n'), 0);
}
