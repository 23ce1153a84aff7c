// What a capture leaves behind: the data file always, the rendered log only for
// sound data, and a refusal before the capture when a file cannot be written.
#include "datatesting.h"

#include "data/captureoutput.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace ferrox;
using namespace ferrox::testing;
using ferrox::test::readFile;
using ferrox::test::writeFile;

namespace {

using Status = CaptureOutput::Status;

const QByteArray soundStream = byJ1("A") + byJ2("\x06") + endCode();
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
        request.dataPath = dir.filePath(QStringLiteral("out.dat"));
        request.textPath = dir.filePath(QStringLiteral("out.txt"));
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
    EXPECT_EQ(readFile(request.dataPath), soundStream);
    EXPECT_EQ(readFile(request.textPath), expectedText());

    request.utf8 = true;
    writeCaptureOutput(dataOf(soundStream), request);
    EXPECT_EQ(readFile(request.textPath), renderingAsUtf8(request.DisplayModeNumber, expectedText()));
}

// Why data is rejected is the judgement's; here, that its lines are the message.
TEST_F(Output, RejectedDataIsStoredButNotRendered)
{
    const CaptureOutput output = writeCaptureOutput(dataOf(endCode()), request);
    EXPECT_EQ(output.status, Status::Rejected);
    EXPECT_EQ(output.message, QStringLiteral("受信データがありませんでした。\n"));
    EXPECT_EQ(readFile(request.dataPath), endCode());
    EXPECT_FALSE(QFile::exists(request.textPath));
}

TEST_F(Output, AFileThatCannotBeWrittenIsNamedAndTheOtherIsStillWritten)
{
    const QString missingFolder = request.dataPath = dir.filePath(QStringLiteral("gone/out.dat"));
    CaptureOutput output = writeCaptureOutput(dataOf(soundStream), request);
    EXPECT_EQ(output.status, Status::WriteFailed);
    EXPECT_TRUE(output.message.contains(missingFolder)) << output.message.toStdString();
    EXPECT_EQ(readFile(request.textPath), expectedText());

    // Rejected data with a data file that cannot be written: the write
    // failure comes first, the rejection is still told.
    output = writeCaptureOutput(dataOf(endCode()), request);
    EXPECT_EQ(output.status, Status::WriteFailed);
    EXPECT_TRUE(output.message.contains(missingFolder)) << output.message.toStdString();
    EXPECT_TRUE(output.message.endsWith(QStringLiteral("\n受信データがありませんでした。\n"))) << output.message.toStdString();
}

// Which paths a file can replace is the file access's rule; here, that the capture asks it first.
TEST_F(Output, OutputPathsAreProvedBeforeTheCaptureWithoutLeavingFiles)
{
    const QString existing = writeFile(dir.filePath(QStringLiteral("kept.dat")), "keep me");
    EXPECT_EQ(outputPathProblem(dir.filePath(QStringLiteral("new.dat"))), QString());
    EXPECT_EQ(outputPathProblem(existing), QString());
    EXPECT_TRUE(outputPathProblem(dir.path()).contains(dir.path()));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("kept.dat")});
    EXPECT_EQ(readFile(existing), QByteArray("keep me"));
}

} // namespace
