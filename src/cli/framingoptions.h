#pragma once

#include "cliarguments.h"

#include "frames/framedecoder.h"
#include "frames/framer.h"

#include <memory>

namespace ferrox::cli {

// How a stored capture is cut into frames, as decode and export take it:
// the decoder, the idle gap and the monitored line it counts characters of.
struct Framing
{
    std::unique_ptr<FrameDecoder> decoder;
    FramerOptions options;
};

// --decoder NAME, --gap MS, --monitor-speed N, --data-width 8|9.
// decoderHelp says what the command does without --decoder.
QList<CliOption> framingOptions(const QString &decoderHelp);

// The framing the options ask for; without --decoder, `fallbackDecoder`
// (null for PlainFrames). Empty after a usage error (already printed).
std::optional<Framing> readFraming(CliArguments &args, const QString &fallbackDecoder);

// --decoder NAME for live pcap records, which then also end where that
// protocol's messages end, as the export's do.
CliOption recordDecoderOption();

// The decoder of live pcap records: null without --decoder (or with
// "none", as Wireshark passes its default). Empty after a usage error
// (already printed), also when the live output is no pcap stream.
std::optional<std::shared_ptr<const FrameDecoder>> readRecordDecoder(CliArguments &args, bool livePcap);

} // namespace ferrox::cli
