#pragma once

#include "exchanges.h"
#include "linkowner.h"

#include <functional>

namespace ferrox {

// Connection checks and port choices are of this kind: a second check is
// refused while one holds the link or waits for it.
inline constexpr std::string_view CheckKind = "check";
inline const LinkRequest CheckLinkRequest{CheckKind, false, true, false, {}};
// A port choice with the check that follows it.
inline const LinkRequest PortChangeLinkRequest{CheckKind, false, false, false, {}};

struct CheckOutcome
{
    enum class Status { PortFailed, NoAnswer, ForeignBoard, UnsupportedFirmware, Verified };
    Status status = Status::NoAnswer;
    int errorCode = 0;  // PortFailed: the port's error code
    QByteArray reply;   // every byte read, at least 22; empty without a reply
};

struct CheckCallbacks
{
    std::function<void(bool cts, bool dsr)> linesSampled; // the port's own lines, before the query
    std::function<void()> querySent;                      // CMD_VERSION went out
    std::function<void(const CheckOutcome &)> done;
};

// The connection check's exchange on a held link; the lease goes on after done.
void checkLink(const LinkLease &lease, const CheckRequest &request, CheckCallbacks callbacks);

} // namespace ferrox
