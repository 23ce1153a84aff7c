#include "texts.h"

#include <QStringList>

namespace ferrox::linktext {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString lines(const QStringList &texts)
{
    QString joined;
    for (const QString &line : texts)
        joined += line + kCrLf;
    return joined;
}

QString ideographicSpaces(int count)
{
    return QString(count, QChar(0x3000));
}

const QString kCheckAdvice =
    QStringLiteral("ボードの電源、ＰＣとの接続、通信設定を確認後、「通信確認」ボタンを押してください。");

} // namespace

QString noAnswerStatus(const QString &portName)
{
    return QStringLiteral("現在の設定：") + portName + QStringLiteral("。　")
        + kCheckAdvice;
}

QString linkOkStatus(const QString &boardReply, const QString &portName)
{
    return boardReply + QStringLiteral("  ") + portName + QStringLiteral(":通信確認ＯＫ。");
}

QString firmwareMismatchMessage(const QString &firmwareVersion)
{
    return lines({
        QStringLiteral("*** ファームウエアバージョン ミスマッチ ***"),
        QString(),
        QStringLiteral(" "),
        QStringLiteral("このファームウエアバージョンはサポートしておりません。") + ideographicSpaces(8),
        QStringLiteral("ferrox.exeのバージョンアップを行ってください。"),
        QStringLiteral("　"),
        QStringLiteral("使用中のファームウエアバージョン　：　 ") + firmwareVersion,
        QStringLiteral(" "),
        QStringLiteral(" "),
        QStringLiteral(" "),
    });
}

QString noBoardMessage(const QString &portName)
{
    return lines({
        noBoardReason(),
        QString(),
        QStringLiteral(" "),
        QStringLiteral("現在 選択している通信ポート：") + portName,
        QStringLiteral(" "),
        kCheckAdvice,
        QString(),
        QStringLiteral("それでも、通信できない時は、右側に表示されている「設定ウインドウ」内の"),
        QStringLiteral("「ＰＣ通信設スピード」の設定を変更してみてください。 "),
        QStringLiteral("変更後は「通信確認」ボタンを押してください。 "),
        QStringLiteral(" "),
        QStringLiteral("（ウインドウ最下部のステータスバーに通信結果が表示されます。） "),
        QStringLiteral(" "),
        QStringLiteral(" "),
    });
}

QString portUnusableMessage(const QString &portName, int errorCode)
{
    return portName + QStringLiteral(" は使用できませんでした。") + ideographicSpaces(10)
        + QString::number(errorCode) + QStringLiteral("     ");
}

namespace {

// The port's error (a QSerialPort::SerialPortError) in words.
QString portErrorReason(int errorCode)
{
    switch (errorCode) {
    case 1: return QStringLiteral("デバイスが見つかりません。");
    case 2: return QStringLiteral("開く権限がないか、他のプログラムが使用中です。");
    case 3: return QStringLiteral("すでに開かれています。");
    case 4: return QStringLiteral("書き込みに失敗しました。");
    case 5: return QStringLiteral("読み込みに失敗しました（デバイスが切断されたか、ハングアップしました）。");
    case 6: return QStringLiteral("デバイスが取り外されたか、ハングアップしました。");
    case 7: return QStringLiteral("この設定にデバイスが対応していません。");
    case 9: return QStringLiteral("応答が時間切れになりました。");
    case 10: return QStringLiteral("ポートが開いていません。");
    }
    return QStringLiteral("原因不明のエラーです（%1）。").arg(errorCode);
}

} // namespace

QString portFailureLine(const QString &portName, int errorCode)
{
    return portName + QStringLiteral(" は使用できませんでした。") + portErrorReason(errorCode);
}

QString portMissingMessage(const QString &portName)
{
    return portName + QStringLiteral(" は存在しませんでした。") + ideographicSpaces(10);
}

QString portRefusalAdvice(const PortRefusal &refusal)
{
    const QString start = kCrLf + kCrLf + refusal.devicePath;
    switch (refusal.kind) {
    case PortRefusal::Kind::None:
        return {};
    case PortRefusal::Kind::Missing:
        return start + QStringLiteral(" が見つかりません。");
    case PortRefusal::Kind::InUse:
        return start + QStringLiteral(" は他のプログラムが使用中です。")
            + (refusal.holder.isEmpty() ? QString() : QStringLiteral("（プロセス ") + refusal.holder + u'）');
    case PortRefusal::Kind::NoPermission:
        break;
    }
    QString text = start + QStringLiteral(" を開く権限がありません。");
    if (!refusal.group.isEmpty())
        text += kCrLf + QStringLiteral("グループ「") + refusal.group
            + QStringLiteral("」に参加してから、ログインし直してください。") + kCrLf
            + QStringLiteral("（sudo usermod -aG ") + refusal.group + QStringLiteral(" $USER）");
    return text;
}

QString jumperMessage()
{
    return lines({
        QStringLiteral("*** PC通信スピード変更 ***"),
        QString(),
        QStringLiteral("PC通信スピード変更後は、ボード上のジャンパー[JP3の1-3]を変更する必要があります。"),
        QStringLiteral("57600bps選択時は、ジャンパーを'オフ'、115200bps選択時は、ジャンパーを'オン'に変更し"),
        QStringLiteral("ボードの電源を再投入してください。 "),
        QString(),
        QStringLiteral("ジャンパー変更後、「通信確認」ボタンを押してください。"),
        QStringLiteral(" "),
        QStringLiteral(" "),
    });
}

} // namespace ferrox::linktext
