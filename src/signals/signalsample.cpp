#include "signalsample.h"

#include "link/linkscript.h"
#include "link/protocol.h"

namespace ferrox {

namespace {

using namespace step;

// Signal sample: 2 bytes within one second; a port that cannot be opened
// is a port failure.
LinkScript signalSampleScript()
{
    return {critical(openIfClosed()), threshold(0), discard(), write(CMD_SIGNALS),
            await(SignalReplyLength, ReplyTimeoutMs), read()};
}

} // namespace

bool sampleSignals(LinkOwner &owner, std::function<void(const SampleOutcome &, const LinkLease &)> done)
{
    const LinkRequest sample{"signal sample", true, false, false, {}};
    return owner.request(sample, [done](const LinkLease &lease) {
        lease.runScript(signalSampleScript(), [lease, done](const LinkScriptResult &result) {
            SampleOutcome outcome;
            if (result.status == LinkScriptResult::Status::PortFailed) {
                outcome.status = SampleOutcome::Status::PortFailed;
                outcome.errorCode = result.errorCode;
            } else if (result.status == LinkScriptResult::Status::Completed) {
                outcome.status = SampleOutcome::Status::Sampled;
                outcome.stateByte = static_cast<std::uint8_t>(result.reply.at(0));
            }
            done(outcome, lease);
            lease.end();
        });
    });
}

} // namespace ferrox
