#pragma once

#include "frame.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace ferrox {

// A protocol as the framer sees it: where a message ends inside one side's
// bytes, and what each message says. A new protocol is one class behind
// this interface and one line in makeDecoder().
class FrameDecoder
{
public:
    virtual ~FrameDecoder() = default;

    // The length of the first message at the start of `bytes`, one side's
    // bytes up to a change of direction or an idle gap (never empty).
    // Anything outside 1..bytes.size() is taken as bytes.size().
    virtual qsizetype firstFrameLength(QByteArrayView bytes) const { return bytes.size(); }

    // The longest message the protocol allows; the framer cuts longer
    // ones there and marks them over-long.
    virtual qsizetype maxFrameLength() const { return 4096; }

    // The idle time that ends a message at `baud`, in microseconds, where
    // the protocol fixes one; empty: 3.5 characters of the line's own width.
    virtual std::optional<qint64> idleGapMicros(qint32 baud) const
    {
        Q_UNUSED(baud);
        return std::nullopt;
    }

    // True when the bytes before an idle gap (one side's since the last
    // cut) and those after it (up to a change of direction) are one
    // message the gap interrupted, as the protocol's check proves; the
    // default gap then does not end a frame there.
    virtual bool continuesAcross(QByteArrayView before, QByteArrayView after) const
    {
        Q_UNUSED(before);
        Q_UNUSED(after);
        return false;
    }

    // True when the bytes before an idle gap end in a message the protocol
    // sees unfinished, so that bytes still to come after the gap may
    // complete it (continuesAcross()); false when no bytes after it can.
    // A live reader holds such bytes over the gap for their tail.
    virtual bool endsOpen(QByteArrayView before) const
    {
        Q_UNUSED(before);
        return false;
    }

    // Fills summary, verdict, problem and pairs of every frame, in order.
    // Frames arrive with their bytes, times and over-long mark.
    virtual void decodeFrames(QList<Frame> &frames) const = 0;
};

// A decoder that reads each frame on its own; over-long frames fail.
class PerFrameDecoder : public FrameDecoder
{
public:
    void decodeFrames(QList<Frame> &frames) const final;

protected:
    virtual void decodeFrame(Frame &frame) const = 0;
};

// 3.5 character times of `bitsPerCharacter` bits at `baud`, in
// microseconds, rounded up.
qint64 threeAndAHalfCharacters(qint32 baud, int bitsPerCharacter);

// The decoder named on the command line or in the window: "lines",
// "stx-etx" (with ":xor", ":sum" or ":crc16" for a block check),
// "fixed:N" (N from 1 to 4096), "modbus-rtu" or "modbus-ascii". Null for
// any other name.
std::unique_ptr<FrameDecoder> makeDecoder(const QString &name);

// The names makeDecoder() takes, for usage texts and menus.
QStringList decoderNames();

} // namespace ferrox
