#pragma once

// The Japanese texts of frames and their decoders, kept in one place.

#include <QString>
#include <QStringList>

#include <optional>

namespace ferrox::FrameTexts {

// Notes about the framing.
inline QString noTimes()
{
    return QStringLiteral("到着時刻がないため、フレームは方向の切り替わりだけで区切りました。");
}
inline QString timesBackwards(qint64 byteIndex)
{
    return QStringLiteral("到着時刻が") + QString::number(byteIndex)
        + QStringLiteral("バイト目で逆戻りしています。逆戻りした間隔は0として扱いました。");
}
inline QString millis(qint64 micros)
{
    return QString::number(double(micros) / 1000.0, 'f', 3);
}
inline QString coarseTimes(qint64 resolutionMicros, qint64 gapMicros)
{
    return QStringLiteral("到着時刻の分解能(約") + millis(resolutionMicros) + QStringLiteral("ms)が区切りの間隔(")
        + millis(gapMicros) + QStringLiteral("ms)より粗いため、間隔での区切りは確かではありません。");
}
inline QString coarseTimesCutLonger(qint64 resolutionMicros, qint64 gapMicros, qint64 cutMicros)
{
    return QStringLiteral("到着時刻の分解能(約") + millis(resolutionMicros) + QStringLiteral("ms)が区切りの間隔(")
        + millis(gapMicros) + QStringLiteral("ms)より粗いため、間隔では") + millis(cutMicros)
        + QStringLiteral("ms以上の無通信だけで区切り、ほかは方向の切り替わりとメッセージの終わりで区切りました。");
}
inline QString overLongFrames(qint64 count)
{
    return QString::number(count) + QStringLiteral("個のフレームが長すぎるため、最大長で区切りました。");
}
inline QString textHeads()
{
    return QStringLiteral("番号          時刻(秒)    間隔(ms)  方向     長さ  判定  内容  [HEX]");
}
inline QString resolution(qint64 micros) { return QStringLiteral("時刻の分解能: 約") + millis(micros) + QStringLiteral("ms"); }
inline QString gapSetting(qint64 micros) { return QStringLiteral("区切りの間隔: ") + millis(micros) + QStringLiteral("ms"); }

// The frame view.
inline QStringList viewHeads()
{
    return {QStringLiteral("時刻(秒)"), QStringLiteral("間隔(ms)"), QStringLiteral("方向"),     QStringLiteral("長さ"),
            QStringLiteral("判定"),     QStringLiteral("種類"),     QStringLiteral("応答(ms)"), QStringLiteral("内容"),
            QStringLiteral("HEX"),      QStringLiteral("文字")};
}

inline QString viewTitle() { return QStringLiteral("フレーム"); }
inline QString viewFailedOnly() { return QStringLiteral("NGのみ"); }
inline QString viewPatternHint() { return QStringLiteral("絞り込み: 文字列、または hex:0183 (hex:018 は 01 8x)"); }
inline QString viewFindHint() { return QStringLiteral("検索 (Enterで次へ)"); }
inline QString viewGapHint() { return QStringLiteral("区切り(ms): 既定"); }
inline QString viewAllKinds() { return QStringLiteral("すべての種類"); }
inline QString viewRulesHint() { return QStringLiteral("強調の規則 (ダブルクリックで編集)"); }
inline QString viewRemoveRule() { return QStringLiteral("削除"); }
inline QString notFound() { return QStringLiteral("見つかりません"); }
inline QString unreadableHex(const QString &typed)
{
    return QStringLiteral("16進数として読めません: ") + typed;
}
inline QString unreadableKind(const QString &typed)
{
    return QStringLiteral("種類として読めません: ") + typed;
}
inline QString unreadableGap(const QString &typed)
{
    return QStringLiteral("区切りの間隔は0～60000msで指定してください: ") + typed;
}
inline QString unreadableRule(const QString &typed)
{
    return QStringLiteral("規則にできません(読めないか、すでにあります): ") + typed;
}
inline QString viewSave() { return QStringLiteral("保存..."); }
// A series' files, a few at a time.
inline QString seriesPrevious() { return QStringLiteral("◀ 前のファイル"); }
inline QString seriesNext() { return QStringLiteral("次のファイル ▶"); }
inline QString seriesShown(const QString &first, const QString &last, qsizetype total)
{
    return QStringLiteral("シリーズ ") + first + QStringLiteral(" ～ ") + last + QStringLiteral("（全")
        + QString::number(total) + QStringLiteral("ファイル）");
}
inline QString viewHighlight() { return QStringLiteral("強調"); }
inline QString viewSaveTitle() { return QStringLiteral("フレームを保存"); }
inline QString viewSaveFilter()
{
    return QStringLiteral("テキスト(*.txt)|*.txt|CSV(*.csv)|*.csv|JSON Lines(*.jsonl)|*.jsonl|");
}

// The response-time chart.
inline QString chartSave() { return QStringLiteral("図を保存..."); }
inline QString chartSaveTitle() { return QStringLiteral("応答時間の図を保存"); }
inline QString chartSaveFilter() { return QStringLiteral("PNG画像(*.png)|*.png|SVG画像(*.svg)|*.svg|"); }
inline QString chartTitle() { return QStringLiteral("応答時間(ms) と モニター開始からの時刻"); }
inline QString chartNoData() { return QStringLiteral("応答時間のデータがありません(到着時刻が必要です)。"); }
inline QString chartTimeAxis(qint64 endMicros)
{
    return QString::number(double(endMicros) / 1e6, 'f', 3) + QStringLiteral("秒");
}
inline QString chartCount(qint64 count) { return QStringLiteral("%1件").arg(count); }
inline QString chartSpread(const QString &min, const QString &median, const QString &p95, const QString &max)
{
    return QStringLiteral("最小 %1  中央値 %2  95% %3  最大 %4 ms").arg(min, median, p95, max);
}

// Verdicts and problems shared by the decoders.
inline QString verdictGood() { return QStringLiteral("OK"); }
inline QString verdictBad() { return QStringLiteral("NG"); }
inline QString verdictException() { return QStringLiteral("例外"); }
inline QString verdictUnchecked() { return QStringLiteral("-"); }
inline QString overLong() { return QStringLiteral("長すぎます"); }
inline QString cutShort() { return QStringLiteral("途中で切れています"); }
// The check values in hexadecimal, as they travel ("9A 9B").
inline QString checkFailed(const QString &check, const QString &computed, const QString &received)
{
    return check + QStringLiteral("不一致(計算 ") + computed + QStringLiteral(", 受信 ") + received + QStringLiteral(")");
}

// STX/ETX.
inline QString noEtx() { return QStringLiteral("ETXがありません"); }

// Fixed length.
inline QString shortRecord(qint64 length, qint64 wanted)
{
    return QStringLiteral("%1バイトしかありません(%2バイト固定)").arg(length).arg(wanted);
}

// Modbus RTU.
inline QString request() { return QStringLiteral("要求"); }
inline QString response() { return QStringLiteral("応答"); }
inline QString exceptionResponse() { return QStringLiteral("例外応答"); }
inline QString slave(int address) { return QStringLiteral("スレーブ%1").arg(address); }
inline QString broadcast() { return QStringLiteral("スレーブ0(一斉)"); }
inline QString startAndCount(int start, int count) { return QStringLiteral("開始%1 個数%2").arg(start).arg(count); }
inline QString readPart() { return QStringLiteral("読出"); }
inline QString writePart() { return QStringLiteral("書込"); }
inline QString values() { return QStringLiteral("値"); }
inline QString coilOn() { return QStringLiteral("ON"); }
inline QString coilOff() { return QStringLiteral("OFF"); }
inline QString badCoilValue() { return QStringLiteral("コイル値が0xFF00でも0x0000でもありません"); }
inline QString lengthMismatch() { return QStringLiteral("長さが機能コードに合いません"); }
inline QString tooShortForModbus() { return QStringLiteral("短すぎます(4バイト未満)"); }
inline QString quantityOutOfRange(int quantity, int most)
{
    return QStringLiteral("個数%1が範囲外です(1～%2)").arg(quantity).arg(most);
}
inline QString byteCountMismatch(int count, int wanted)
{
    return QStringLiteral("バイト数%1が個数に合いません(%2のはず)").arg(count).arg(wanted);
}
inline QString echoDiffers() { return QStringLiteral("応答が要求と違います"); }
inline QString broadcastOfRead() { return QStringLiteral("一斉送信できない機能です"); }
inline QString answersBroadcast() { return QStringLiteral("一斉送信に応答しています"); }
inline QString answersAnother(qint64 requestNumber)
{
    return QStringLiteral("要求 #%1 と違うスレーブか機能の応答です").arg(requestNumber);
}
inline QString answersNothing() { return QStringLiteral("要求のない応答です"); }
// Modbus ASCII.
inline QString noColon() { return QStringLiteral("':'で始まっていません"); }
inline QString notHexPairs() { return QStringLiteral("16進数の2文字ずつではありません"); }
inline QString tooShortForModbusAscii() { return QStringLiteral("短すぎます(アドレス、機能コード、LRCがありません)"); }
inline QString unknownFunction() { return QStringLiteral("不明な機能コード"); }
// Pairs: a response names its request and the response time, a request
// its response.
// responseMillis: the response time as frameResponseText() gives it.
inline QString answerTo(qint64 number, const QString &responseMillis)
{
    return QStringLiteral("(#%1 への応答").arg(number)
        + (responseMillis.isEmpty() ? QStringLiteral(")") : QStringLiteral(", ") + responseMillis + QStringLiteral("ms)"));
}
inline QString below(const QString &millis) { return QStringLiteral("< ") + millis; }
inline QString answeredBy(qint64 number) { return QStringLiteral("(応答 #%1)").arg(number); }

// Function codes and exception codes by the names the protocol gives them.
inline QString functionName(int code)
{
    switch (code) {
    case 1: return QStringLiteral("Read Coils");
    case 2: return QStringLiteral("Read Discrete Inputs");
    case 3: return QStringLiteral("Read Holding Registers");
    case 4: return QStringLiteral("Read Input Registers");
    case 5: return QStringLiteral("Write Single Coil");
    case 6: return QStringLiteral("Write Single Register");
    case 7: return QStringLiteral("Read Exception Status");
    case 8: return QStringLiteral("Diagnostics");
    case 11: return QStringLiteral("Get Comm Event Counter");
    case 12: return QStringLiteral("Get Comm Event Log");
    case 15: return QStringLiteral("Write Multiple Coils");
    case 16: return QStringLiteral("Write Multiple Registers");
    case 17: return QStringLiteral("Report Server ID");
    case 20: return QStringLiteral("Read File Record");
    case 21: return QStringLiteral("Write File Record");
    case 22: return QStringLiteral("Mask Write Register");
    case 23: return QStringLiteral("Read/Write Multiple Registers");
    case 24: return QStringLiteral("Read FIFO Queue");
    case 43: return QStringLiteral("Encapsulated Interface Transport");
    default: return unknownFunction();
    }
}
inline QString exceptionName(int code)
{
    switch (code) {
    case 1: return QStringLiteral("ILLEGAL FUNCTION");
    case 2: return QStringLiteral("ILLEGAL DATA ADDRESS");
    case 3: return QStringLiteral("ILLEGAL DATA VALUE");
    case 4: return QStringLiteral("SERVER DEVICE FAILURE");
    case 5: return QStringLiteral("ACKNOWLEDGE");
    case 6: return QStringLiteral("SERVER DEVICE BUSY");
    case 8: return QStringLiteral("MEMORY PARITY ERROR");
    case 10: return QStringLiteral("GATEWAY PATH UNAVAILABLE");
    case 11: return QStringLiteral("GATEWAY TARGET DEVICE FAILED TO RESPOND");
    default: return QStringLiteral("不明な例外");
    }
}
inline QString exceptionCode(int code)
{
    return QStringLiteral("例外コード") + QStringLiteral("%1").arg(code, 2, 16, QLatin1Char('0')).toUpper() + u' '
        + exceptionName(code);
}

} // namespace ferrox::FrameTexts
