// What a capture leaves behind: the data file always, the rendered log only for
// sound data, and a refusal before the capture when a file cannot be written.
#include "capture/captureoutput.h"
#include "capturetesting.h"

#include "support/testfiles.h"
#include "data/renderer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ferrox;
using namespace ferrox::test;

namespace {

using Status = CaptureOutput::Status;

// J1 sends "A", J2 answers with an ACK.
const QByteArray soundStream = bytes({0xA4, 0xB1, 0x80, 0x96, 0xFF});
const QString timestamp = QStringLiteral("2003年08月30日14:05:09");

MonitorData dataOf(const QByteArray &stream)
{
    return {CaptureBuffer::fromStream(stream), timestamp};
}

class Output : public testing::Test
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
    EXPECT_TRUE(output.status == Status::Accepted && output.SequenceErrorCount == 0 && output.message.isEmpty());
    EXPECT_TRUE(readFile(request.dataPath) == soundStream && readFile(request.textPath) == expectedText());

    request.utf8 = true;
    writeCaptureOutput(dataOf(soundStream), request);
    EXPECT_EQ(readFile(request.textPath), renderingAsUtf8(request.DisplayModeNumber, expectedText()));
}

TEST_F(Output, RejectedDataIsStoredButNotRendered)
{
    // Empty, and with misplaced tags: the count of errors is told.
    for (const auto &[stream, errors] : {std::pair{endCode, 0}, std::pair{bytes({0xA4, 0x80, 0xB1, 0x96, 0xFF}), 3}}) {
        SCOPED_TRACE(errors);
        const CaptureOutput output = writeCaptureOutput(dataOf(stream), request);
        EXPECT_EQ(std::pair(output.status, output.SequenceErrorCount), std::pair(Status::Rejected, errors));
        EXPECT_EQ(output.message.contains(QStringLiteral(" %1個所").arg(errors)), errors > 0) << output.message.toStdString();
        EXPECT_TRUE(readFile(request.dataPath) == stream && !QFile::exists(request.textPath));
    }
}

TEST_F(Output, AFileThatCannotBeWrittenIsNamedAndTheOtherIsStillWritten)
{
    const QString missingFolder = request.dataPath = dir.filePath(QStringLiteral("gone/out.dat"));
    CaptureOutput output = writeCaptureOutput(dataOf(soundStream), request);
    EXPECT_TRUE(output.status == Status::WriteFailed && output.message.contains(missingFolder)) << output.message.toStdString();
    EXPECT_EQ(readFile(request.textPath), expectedText());

    // Rejected data with a data file that cannot be written: the write
    // failure comes first, the rejection is still told.
    output = writeCaptureOutput(dataOf(endCode), request);
    EXPECT_TRUE(output.status == Status::WriteFailed && output.message.contains(missingFolder)
                && output.message.endsWith(QStringLiteral("ありませんでした。\n")));
}

// Which paths a file can replace is the file access's rule; here, that the capture asks it first.
TEST_F(Output, OutputPathsAreProvedBeforeTheCaptureWithoutLeavingFiles)
{
    const QString existing = writeFile(dir.filePath(QStringLiteral("kept.dat")), "keep me");
    EXPECT_EQ(outputPathProblem(dir.filePath(QStringLiteral("new.dat"))) + outputPathProblem(existing), QString());
    EXPECT_TRUE(outputPathProblem(dir.path()).contains(dir.path()));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("kept.dat")});
    EXPECT_EQ(readFile(existing), QByteArray("keep me"));
}

} // namespace
