#include "consolecheck.h"

#include "texts.h"

#include "platform/serialport.h"

namespace ferrox {

namespace {

QString terminalLines(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// Reply bytes as a terminal may show them: a misbehaving device must not
// drive the user's terminal with escape sequences. Printable ASCII stays,
// every other byte (and the backslash) becomes \xNN.
QString terminalSafe(const QString &latin1Bytes)
{
    QString text;
    for (const QChar c : latin1Bytes) {
        const char16_t code = c.unicode();
        if (code >= 0x20 && code < 0x7F && code != u'\\')
            text += c;
        else
            text += QStringLiteral("\\x") + QString::number(code, 16).rightJustified(2, u'0').toUpper();
    }
    return text;
}

ConsoleCheckResult describe(const CheckOutcome &outcome, const QString &portName, const SerialPort &port)
{
    ConsoleCheckResult result;
    if (outcome.reply.size() >= VersionReplyLength) {
        result.boardReply = terminalSafe(boardReplyOf(outcome.reply));
        result.firmwareVersion = terminalSafe(firmwareVersionOf(outcome.reply));
    }
    switch (outcome.status) {
    case CheckOutcome::Status::PortFailed:
        result.text = linktext::portFailureLine(portName, outcome.errorCode) + u'\n';
        // The line already says that a device is missing.
        if (port.refusal().kind != PortRefusal::Kind::Missing) {
            if (const QString advice = linktext::portRefusalAdvice(port.refusal()); !advice.isEmpty())
                result.text += terminalLines(advice).mid(2) + u'\n';
        }
        break;
    case CheckOutcome::Status::NoAnswer:
        result.text = linktext::noBoardReason() + u'\n';
        break;
    case CheckOutcome::Status::ForeignBoard:
        result.text = linktext::noBoardReason() + QStringLiteral("\n\"") + result.boardReply
            + QStringLiteral("\"\n");
        break;
    case CheckOutcome::Status::UnsupportedFirmware:
        result.text = terminalLines(linktext::firmwareMismatchMessage(result.firmwareVersion));
        break;
    case CheckOutcome::Status::Verified:
        result.verified = true;
        result.text = result.boardReply + QStringLiteral("  ") + portName + u':' + linktext::linkOkReason()
            + u'\n';
        break;
    }
    return result;
}

} // namespace

void runConsoleCheck(LinkOwner &owner, const CheckRequest &request, const QString &portName,
                     std::function<void(const ConsoleCheckResult &)> done)
{
    owner.request(CheckLinkRequest, [request, portName, done](const LinkLease &lease) {
        CheckCallbacks callbacks;
        callbacks.done = [lease, portName, done](const CheckOutcome &outcome) {
            const ConsoleCheckResult result = describe(outcome, portName, lease.port());
            lease.end();
            done(result);
        };
        checkLink(lease, request, callbacks);
    });
}

} // namespace ferrox
