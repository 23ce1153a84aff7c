#pragma once

#include "link/linkowner.h"

#include <cstdint>
#include <functional>

namespace ferrox {

struct SampleOutcome
{
    enum class Status { PortFailed, NoAnswer, Sampled };
    Status status = Status::NoAnswer;
    int errorCode = 0;
    std::uint8_t stateByte = 0xFF; // bit i = 1: signal i not asserted
};

// One signal sample, skipped (false, and nothing happens) when the link is
// busy. done runs while the sample still holds the link, so its stop path
// may use the port; the lease ends after it.
bool sampleSignals(LinkOwner &owner, std::function<void(const SampleOutcome &, const LinkLease &)> done);

} // namespace ferrox
