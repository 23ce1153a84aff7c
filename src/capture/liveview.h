#pragma once

#include "settings/monitorsettings.h" // LiveDisplay

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include "data/streamformat.h"

#include <cstdint>
#include <vector>

namespace ferrox {

// A monitored byte as a live view gets it: its value and, where the tag of
// its low nibble names one, who sent it.
struct LiveByte
{
    std::uint8_t value = 0;
    Direction sender = Direction::None;

    friend bool operator==(const LiveByte &, const LiveByte &) = default;
};

// Turns the board's stream (tagged nibbles, high nibble first) back into
// the monitored bytes for a live view. The high nibble is kept across
// calls (a block may end between the two halves of a byte); before any
// high nibble it is 0.
class LiveByteDecoder
{
public:
    enum class Rule {
        // A capture's live view: b AND 0x50 = 0x00 is a high nibble, 0x10
        // completes the byte, 0x40 and 0x50 (tags 0xC..0xF, the end code)
        // are skipped.
        Capture,
        // The simple monitor's receive decoder: bit 0x10 alone decides;
        // no tag is skipped.
        SimpleMonitor
    };

    explicit LiveByteDecoder(Rule rule) : m_rule(rule) {}

    // The monitored bytes completed by these stream bytes, in order.
    std::vector<LiveByte> decode(QByteArrayView stream);

private:
    Rule m_rule;
    std::uint8_t m_high = 0;
};

QString renderLiveByte(std::uint8_t value, LiveDisplay display);
// The same, appended to text.
void appendLiveByte(QString &text, std::uint8_t value, LiveDisplay display);
QString renderLiveBytes(QByteArrayView values, LiveDisplay display);

} // namespace ferrox
