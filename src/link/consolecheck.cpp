#include "consolecheck.h"

#include "texts.h"

#include "platform/serialport.h"

namespace ferrox {

namespace {

QString terminalLines(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

ConsoleCheckResult describe(const CheckOutcome &outcome, const QString &portName, const SerialPort &port)
{
    ConsoleCheckResult result;
    if (outcome.reply.size() >= VersionReplyLength) {
        result.boardReply = boardReplyOf(outcome.reply);
        result.firmwareVersion = firmwareVersionOf(outcome.reply);
    }
    switch (outcome.status) {
    case CheckOutcome::Status::PortFailed:
        result.text = linktext::portUnusableMessage(portName, outcome.errorCode).trimmed() + u'\n';
        if (outcome.errorCode == SerialPort::PermissionError && !port.devicePath().isEmpty())
            result.text += terminalLines(linktext::permissionAdvice(port.devicePath(), port.deviceGroup())).mid(2) + u'\n';
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
    owner.request(LinkUse::Check, [&owner, request, portName, done] {
        CheckCallbacks callbacks;
        callbacks.done = [&owner, portName, done](const CheckOutcome &outcome) {
            done(describe(outcome, portName, owner.port()));
        };
        owner.checkLink(request, callbacks);
    });
}

} // namespace ferrox
