#pragma once

#include "checkexchange.h"

#include <QString>

#include <functional>

namespace ferrox {

// The connection check for programs without a window (ferrox-cli): the
// same exchange, its outcome as text for a terminal.
struct ConsoleCheckResult
{
    bool verified = false;
    // Bytes 0..15 and 10..14 of a reply of 22 bytes or more, for a
    // terminal: bytes other than printable ASCII (and "\\") as \xNN.
    QString boardReply;
    QString firmwareVersion;
    // Verified: BoardReply + "  " + port + ":通信確認ＯＫ。"; otherwise the
    // reason, in the program's own words. Lines end in LF.
    QString text;
};

// Holds settings against the firmware a check found, before the board is
// set up: a text (LF line ends) refuses them and ends the run as a link
// failure; an empty one lets it go on.
using ConsoleSettingsCheck = std::function<QString(const QString &firmwareVersion)>;

// Runs the check in its turn on the link. The check lets go of the link
// before done, so whatever done asks for runs at once.
// portName names the port in the texts (a device path, "COM1").
void runConsoleCheck(LinkOwner &owner, const CheckRequest &request, const QString &portName,
                     std::function<void(const ConsoleCheckResult &)> done);

} // namespace ferrox
