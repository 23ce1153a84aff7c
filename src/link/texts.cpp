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

QString noAnswerStatus(int portNumber)
{
    return QStringLiteral("現在の設定：COM") + QString::number(portNumber) + QStringLiteral("。　")
        + kCheckAdvice;
}

QString linkOkStatus(const QString &boardReply, int portNumber)
{
    return boardReply + QStringLiteral("  COM") + QString::number(portNumber)
        + QStringLiteral(":通信確認ＯＫ。");
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

QString noBoardMessage(int portNumber)
{
    return lines({
        noBoardReason(),
        QString(),
        QStringLiteral(" "),
        QStringLiteral("現在 選択している通信ポート：COM") + QString::number(portNumber),
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

QString portMissingMessage(int portNumber)
{
    return QStringLiteral("COM") + QString::number(portNumber) + QStringLiteral(" は存在しませんでした。")
        + ideographicSpaces(10);
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
