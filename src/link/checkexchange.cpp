#include "checkexchange.h"

namespace ferrox {

namespace {

CheckOutcome::Status statusOfReply(const QByteArray &reply)
{
    switch (assessVersionReply(reply)) {
    case VersionVerdict::TooShort:
        return CheckOutcome::Status::NoAnswer;
    case VersionVerdict::ForeignBoard:
        return CheckOutcome::Status::ForeignBoard;
    case VersionVerdict::UnsupportedFirmware:
        return CheckOutcome::Status::UnsupportedFirmware;
    case VersionVerdict::Verified:
        break;
    }
    return CheckOutcome::Status::Verified;
}

} // namespace

void checkLink(const LinkLease &lease, const CheckRequest &request, CheckCallbacks callbacks)
{
    LinkScriptRunner *runner = lease.prepareScript(connectionCheckScript(request));
    if (callbacks.linesSampled)
        QObject::connect(runner, &LinkScriptRunner::linesSampled, runner, callbacks.linesSampled);
    if (callbacks.querySent)
        QObject::connect(runner, &LinkScriptRunner::commandSent, runner,
                         [sent = callbacks.querySent](std::uint8_t) { sent(); });
    runner->start([done = callbacks.done](const LinkScriptResult &result) {
        CheckOutcome outcome;
        switch (result.status) {
        case LinkScriptResult::Status::PortFailed:
            outcome.status = CheckOutcome::Status::PortFailed;
            outcome.errorCode = result.errorCode;
            break;
        case LinkScriptResult::Status::TimedOut:
        case LinkScriptResult::Status::Cancelled:
            outcome.status = CheckOutcome::Status::NoAnswer;
            break;
        case LinkScriptResult::Status::Completed:
            outcome.reply = result.reply;
            outcome.status = statusOfReply(result.reply);
            break;
        }
        done(outcome);
    });
}

} // namespace ferrox
