// What a capture leaves behind: the data file unless it is empty, the rendered
// log only for sound data. (A file that cannot be written is refused before
// the capture: CaptureCli.EveryEndHasItsExitStatus.)
#include "datatesting.h"

#include "data/captureoutput.h"
#include "data/finishedcapture.h"
#include "data/sidecar.h"
#include "data/texts.h"
#include "support/testfiles.h"

#include <QFile>
#include <QTemporaryDir>

using namespace ferrox;
using namespace ferrox::testing;
using ferrox::test::readFile;
using ferrox::test::writeFile;

namespace {

using Status = CaptureOutput::Status;

const QByteArray soundStream = byJ1("A") + byJ2("\x06") + endCode();
const QByteArray faultyStream = bytes({0xB1}) + byJ1("A") + endCode(); // a low nibble first
const QString faultyAdvice = joinedLines(DataTexts::sequenceErrorAdvice(1), u"\n");
const QString timestamp = QStringLiteral("2003年08月30日14:05:09");

MonitorData dataOf(const QByteArray &stream)
{
    return {CaptureBuffer::fromStream(stream), timestamp, {}};
}

class Output : public ::testing::Test
{
protected:
    Output()
    {
        request.files.dataPath = dir.filePath(QStringLiteral("out.dat"));
        request.files.textPath = dir.filePath(QStringLiteral("out.txt"));
        request.DisplayModeNumber = 4;
        request.header.port = QStringLiteral("/dev/ttyUSB0"); // the rest of the header passes the same way
    }
    QByteArray expectedText() const
    {
        ReportHeaderSettings header = request.header;
        header.dataName = timestamp;
        return renderMonitorData(request.DisplayModeNumber, CaptureBuffer::fromStream(soundStream), header)->text;
    }

    QTemporaryDir dir;
    CaptureOutputRequest request;
};

TEST_F(Output, SoundDataIsStoredAndRenderedWithTheCaptureTimeAsItsName)
{
    const CaptureOutput output = writeCaptureOutput(dataOf(soundStream), request);
    EXPECT_EQ(output.status, Status::Accepted);
    EXPECT_EQ(output.message, QString());
    EXPECT_EQ(readFile(request.files.dataPath), soundStream);
    EXPECT_EQ(readFile(request.files.textPath), expectedText());

    request.utf8 = true;
    writeCaptureOutput(dataOf(soundStream), request);
    EXPECT_EQ(readFile(request.files.textPath), renderingAsUtf8(request.DisplayModeNumber, expectedText()));
}

// Why data is rejected is the judgement's; here, that its lines are the message.
TEST_F(Output, DataWithSequenceErrorsIsStoredButNotRendered)
{
    const CaptureOutput output = writeCaptureOutput(dataOf(faultyStream), request);
    EXPECT_EQ(output.status, Status::Rejected);
    EXPECT_EQ(output.message, faultyAdvice);
    EXPECT_EQ(readFile(request.files.dataPath), faultyStream);
    EXPECT_FALSE(QFile::exists(request.files.textPath));
}

// Refused as for rendering: the files of an earlier capture stay, times and all.
TEST_F(Output, AnEmptyCaptureWritesNothing)
{
    MonitorData earlier = dataOf(soundStream);
    earlier.times = ArrivalTimes{};
    writeCaptureOutput(earlier, request);
    MonitorData empty = dataOf(endCode());
    empty.times = std::nullopt;
    const CaptureOutput output = writeCaptureOutput(empty, request);
    EXPECT_EQ(output.status, Status::Rejected);
    EXPECT_EQ(output.message, QStringLiteral("受信データがありませんでした。\n"));
    EXPECT_EQ(readFile(request.files.dataPath), soundStream);
    EXPECT_TRUE(QFile::exists(sidecarPath(request.files.dataPath)));
    EXPECT_EQ(readFile(request.files.textPath), expectedText());
}

TEST_F(Output, AFileThatCannotBeWrittenIsNamedAndTheOtherIsStillWritten)
{
    const QString missingFolder = request.files.dataPath = dir.filePath(QStringLiteral("gone/out.dat"));
    CaptureOutput output = writeCaptureOutput(dataOf(soundStream), request);
    EXPECT_EQ(output.status, Status::WriteFailed);
    EXPECT_TRUE(output.message.contains(missingFolder)) << output.message.toStdString();
    EXPECT_EQ(readFile(request.files.textPath), expectedText());

    // Rejected data with a data file that cannot be written: the write
    // failure comes first, the rejection is still told.
    output = writeCaptureOutput(dataOf(faultyStream), request);
    EXPECT_EQ(output.status, Status::WriteFailed);
    EXPECT_TRUE(output.message.contains(missingFolder)) << output.message.toStdString();
    EXPECT_TRUE(output.message.endsWith(u'\n' + faultyAdvice)) << output.message.toStdString();
}

} // namespace
