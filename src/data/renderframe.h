#pragma once

// The walk every renderer shares: header, the mode's preamble, one visit
// per stream position with progress, undefined-tag counting, and the
// closing step at the end code or at the end of the data.
//
// A mode is a class template over the byte-map recorder (ByteMapRecorder
// or NoByteMap) with
//   void preamble(std::uint8_t firstByte);
//   bool high(Direction sender, std::uint8_t value);  // tags 0x8 / 0xA
//   bool low(Direction sender, std::uint8_t value);   // tags 0x9 / 0xB
//   bool run(Direction sender, SoundRun bytes);       // sound bytes
//   void close();                                     // end code
// constructed on the TextSink it writes to and the recorder it reports
// its cells to. run() takes sound bytes of one sender in a row (each a
// high nibble and its low nibble) at once and does exactly what high()
// and low() would do with their nibbles in turn; it is the path of nearly
// every byte, so a mode writes them in one loop from its tables.
// high/low/run return false for data the mode cannot show, which ends the
// rendering early.

#include "capturedcolumn.h"
#include "renderer.h"
#include "streamformat.h"
#include "smalltext.h"
#include "textsink.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace ferrox {

// For the modes that write a block when the sender changes (ASCII and
// exchange): remembers the last completed byte's sender. At the end code
// the last block is forced out as if the other side had spoken.
class SenderChange
{
public:
    // The sender whose block ends before this byte, or None.
    Direction next(Direction sender)
    {
        const Direction previous = std::exchange(m_previous, sender);
        return previous == opposite(sender) ? previous : Direction::None;
    }
    // The sender that closes the last block at the end code (None: no byte).
    Direction closing() const { return opposite(m_previous); }

private:
    Direction m_previous = Direction::None;
};

// Sound bytes handed to a mode at once, at most: bounds what a mode sets
// aside for them in the output.
constexpr int MaxSoundRun = 1024;

// The bytes of a run taken in pieces that fill what the mode counts in
// (a line, the row numbers up to the next carry): its check for a full
// line is then made once a piece, not once a byte.
class RunPieces
{
public:
    // Bytes of a run in a row, to be taken with a range-for.
    struct Piece
    {
        SoundRun::Iterator from;
        SoundRun::Iterator to;
        int count;
        SoundRun::Iterator begin() const { return from; }
        SoundRun::Iterator end() const { return to; }
        int size() const { return count; }
    };

    explicit RunPieces(SoundRun bytes) : m_at(bytes.begin()), m_left(bytes.size()) {}

    bool done() const { return m_left == 0; }

    // The next `room` bytes, or all that are left.
    Piece next(int room)
    {
        const int n = std::min(room, m_left);
        SoundRun::Iterator to = m_at;
        for (int k = 0; k < n; ++k)
            ++to;
        const Piece piece{m_at, to, n};
        m_at = to;
        m_left -= n;
        return piece;
    }

private:
    SoundRun::Iterator m_at;
    int m_left;
};

// For the modes with a hex part and a character column (exchange and
// hex-with-characters): a piece of sound bytes of `sender`, "41 " each into
// `hex` and their characters into `chars` in one loop, and their cells
// pending until the line is placed.
template<typename Hex, typename Chars, typename Map>
void appendPiece(Hex &hex, Chars &chars, const RunPieces::Piece &piece, Map &map, std::vector<PendingCell> &pending,
                 Direction sender)
{
    if constexpr (Map::active) {
        int k = 0;
        for (const std::uint8_t value : piece) {
            pending.push_back({map.add(sender, value), hex.size() + k * HexByteText::Size, 2, chars.size() + k});
            ++k;
        }
    }
    const auto character = [](std::uint8_t value) { return columnCells[value]; };
    if (char *at = hex.claim(piece.size() * int(sizeof(HexByteText::bytes)))) {
        chars.appendEach(piece, character, [&at](std::uint8_t value) { at = writeHexByte(at, value); });
        hex.advanceTo(at);
    } else {
        // A hex part grown by repeated low nibbles: what fits.
        chars.appendEach(piece, character, [&hex](std::uint8_t value) {
            hex.appendPadded(hexByteTexts[value].bytes, HexByteText::Size);
        });
    }
}

struct RenderPacing
{
    qint32 progressOffset = 0; // added to the position in the progress formula
    qint32 progressGrid = 5;   // remaining percentages reported: multiples of this
    qint32 bytesPerStreamByte = 2; // output size estimate, to reserve once
};

template<typename Mode>
bool walkStream(Mode &mode, const CaptureBuffer &capture, const ProgressCallback &progress,
                const RenderPacing &pacing, qint32 &receiveErrors)
{
    const qint32 captureEnd = capture.CaptureEnd();
    const QByteArrayView stream = capture.stream();
    mode.preamble(std::uint8_t(stream[0]));

    ProgressGrid grid(captureEnd, pacing.progressOffset, pacing.progressGrid);
    for (qint32 i = 0; i <= captureEnd; ++i) {
        grid.visit(i, progress);
        const std::uint8_t byte = std::uint8_t(stream[i]);
        // A run ends before the next position that reports progress, so
        // reports come between the same bytes as they would one at a time.
        const int run = soundRunLength(stream.data(), i, std::min(captureEnd + 1, grid.quietUntil()), MaxSoundRun);
        if (run > 0) {
            if (!mode.run(decodeTag(byte).sender, SoundRun(stream.data() + i, run)))
                return false;
            i += 2 * run - 1;
            continue;
        }
        const std::uint8_t value = dataValueOf(byte);
        bool ok = true;
        const StreamTagMeaning &tag = decodeTag(byte);
        switch (tag.kind) {
        case TagKind::High:
            ok = mode.high(tag.sender, value);
            break;
        case TagKind::Low:
            ok = mode.low(tag.sender, value);
            break;
        case TagKind::Final:
            if (byte == EndCode) {
                mode.close();
                return true;
            }
            break; // meaningless, skipped
        case TagKind::Undefined:
            // A receive error: counted; the byte being assembled waits on.
            ++receiveErrors;
            break;
        }
        if (!ok)
            return false;
    }
    // Data without an end code: close as if one followed, so no pending
    // line is lost.
    mode.close();
    return true;
}

template<template<typename> class Mode, typename Map>
bool renderWith(RenderResult &result, Map &map, TextSink &out, const CaptureBuffer &capture,
                const ProgressCallback &progress, const RenderPacing &pacing)
{
    Mode<Map> mode(out, map);
    const bool ok = walkStream(mode, capture, progress, pacing, result.ReceiveErrorCount);
    if (!ok)
        map.dropUnwritten();
    return ok;
}

template<template<typename> class Mode>
RenderResult runRenderFrame(const CaptureBuffer &capture, const ReportHeaderSettings &header,
                            const ProgressCallback &progress, const RenderPacing &pacing,
                            ByteMapRequest byteMap, const TextPieceWriter &pieces)
{
    RenderResult result;
    WriteReportHeader(result.text, header, capture.DataByteCount());
    // A byte map counts offsets in the whole text: no pieces then.
    TextSink out(result.text, qsizetype(capture.CaptureEnd()) * pacing.bytesPerStreamByte,
                 byteMap == ByteMapRequest::Wanted ? nullptr : &pieces);
    if (byteMap == ByteMapRequest::Wanted) {
        result.byteMap.reserve(size_t(capture.DataByteCount()));
        ByteMapRecorder recorder(result.byteMap);
        result.failed = !renderWith<Mode>(result, recorder, out, capture, progress, pacing);
    } else {
        NoByteMap none;
        result.failed = !renderWith<Mode>(result, none, out, capture, progress, pacing);
    }
    out.finish();
    result.piecesWritten = out.piecesWritten();
    return result;
}

} // namespace ferrox
