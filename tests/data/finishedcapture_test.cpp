// What a finished capture tells and keeps, for the window and ferrox-cli
// alike: the lines of each way its stream ends, and the verdict on its data.
#include "datatesting.h"

#include "data/finishedcapture.h"

using namespace ferrox;
using namespace ferrox::testing;

namespace {

const QString forcedStop = QStringLiteral("モニター強制停止。");
const QString portGone = QStringLiteral("通信ポート(/dev/ttyUSB0)が使用できません。(9)");
const QString lastByteCut = QStringLiteral("最後の１バイトは受信が途中で途切れたため破棄しました。");
const QString dataRate = QStringLiteral("データ量がＰＣの処理スピードを超えましたのでモニターリングを停止します。");

TEST(FinishedCapture, EachExitHasItsLinesItsAlarmAndItsLastingNote)
{
    const struct
    {
        const char *name;
        CaptureEnding ending;
        QStringList lines;
        QString alarm, note;
    } cases[] = {
        {"end code", {CaptureExit::EndCode, {}}, {QStringLiteral("モニター停止。")}, {}, {}},
        {"buffer full", {CaptureExit::Overflow, {}},
         {QStringLiteral("バッファがオーバーフローしました。"), forcedStop}, {}, {}},
        {"data rate", {CaptureExit::DataRate, {}}, {}, dataRate, {}},
        {"no end code after the stop", {CaptureExit::NoEndCode, {}}, {forcedStop}, {}, forcedStop},
        {"adapter unplugged", {CaptureExit::PortLost, portGone}, {portGone}, {}, portGone},
        // The program ended the stream between the two halves of a byte.
        {"adapter unplugged mid-byte", {CaptureExit::PortLost, portGone, true}, {portGone, lastByteCut}, {},
         portGone + QStringLiteral("　") + lastByteCut},
        {"data rate mid-byte", {CaptureExit::DataRate, {}, true}, {lastByteCut}, dataRate, lastByteCut},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const ExitReport report = reportExit(c.ending);
        EXPECT_EQ(report.lines, c.lines);
        EXPECT_EQ(report.alarm, c.alarm);
        EXPECT_EQ(report.note, c.note);
    }
}

TEST(FinishedCapture, OnlySoundDataIsRenderedAndRejectedDataSaysWhy)
{
    const QByteArray sound = byJ1("A") + byJ2("\x06") + endCode();
    const QStringList advice = {
        QStringLiteral("モニターデータに 3個所のエラーがありました。"),
        QStringLiteral("以下の対策を試みてください。"),
        QStringLiteral("1.簡易モニター、受信バイト数 表示をオフ。"),
        QStringLiteral("2.ｺﾝﾄﾛｰﾙﾊﾟﾈﾙ->ｼｽﾃﾑ->通信ﾎﾟｰﾄのﾌﾟﾛﾊﾟﾃｨでポートの詳細設定の内容を変更。"),
        QStringLiteral("3.処理スピードのさらに速いPCを使用。"),
    };
    const struct
    {
        const char *name;
        QByteArray stream;
        qint32 mode;
        CaptureVerdict verdict;
        qint32 errors;
        QStringList rejection;
        bool rendered;
    } cases[] = {
        {"sound", sound, 4, CaptureVerdict::Sound, 0, {}, true},
        {"sound, no such mode", sound, 0, CaptureVerdict::Sound, 0, {}, false},
        {"nothing but the end code", endCode(), 4, CaptureVerdict::Empty, 0,
         {QStringLiteral("受信データがありませんでした。")}, false},
        {"misplaced tags", bytes({0xA4, 0x80, 0xB1, 0x96, 0xFF}), 4, CaptureVerdict::SequenceErrors, 3, advice, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        RenderChoice choice;
        choice.DisplayModeNumber = c.mode;
        const CaptureJudgement judgement = judgeCapture({streamOf(c.stream), QStringLiteral("capture"), {}}, choice);
        EXPECT_EQ(judgement.verdict, c.verdict);
        EXPECT_EQ(judgement.SequenceErrorCount, c.errors);
        EXPECT_EQ(judgement.rejection, c.rejection);
        EXPECT_EQ(judgement.rendering.has_value(), c.rendered);
    }
}

} // namespace
