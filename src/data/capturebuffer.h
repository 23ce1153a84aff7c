#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

#include <cstdint>

namespace ferrox {

// The capture stream: a buffer of 262,145 stream bytes (indices 0 to
// 262144) and CaptureEnd, the index of its end code. Positions 0 to
// CaptureEnd - 1 hold stream bytes, so CaptureEnd is also the number of
// stream bytes before the end code. Positions never written read as zero;
// only the written part is held in memory.
//
// A value type: copies share the bytes until one of them is changed.
class CaptureBuffer
{
public:
    static constexpr qint32 Size = 262145;
    static constexpr qint32 LastIndex = Size - 1;

    // All zero, CaptureEnd 0.
    CaptureBuffer() = default;

    // The buffer holding a stream as it is stored in a data file: its bytes
    // from position 0 and CaptureEnd at its last byte. Bytes beyond the
    // buffer are left out (see fitsStream). An empty stream gives
    // CaptureEnd 0 over a zero byte; callers refuse empty data first.
    static CaptureBuffer fromStream(QByteArrayView stream);
    // The same, keeping the bytes given instead of copying them.
    static CaptureBuffer fromStream(QByteArray &&stream);
    static bool fitsStream(qint64 streamLength) { return streamLength <= Size; }

    qint32 CaptureEnd() const { return m_captureEnd; }
    // Kept within 0..LastIndex; positions up to it that were never written
    // are zero.
    void setCaptureEnd(qint32 index);

    // Monitored bytes in the stream: CaptureEnd / 2, rounded down.
    qint32 DataByteCount() const { return m_captureEnd / 2; }

    // Out-of-range positions read as 0 and ignore writes.
    std::uint8_t at(qint32 index) const;
    void setAt(qint32 index, std::uint8_t value);

    // Positions 0 to CaptureEnd: what a data file holds.
    QByteArrayView stream() const { return QByteArrayView(m_bytes.constData(), m_captureEnd + 1); }

    // Same CaptureEnd and same stream: what a data file of each would hold.
    friend bool operator==(const CaptureBuffer &a, const CaptureBuffer &b)
    {
        return a.m_captureEnd == b.m_captureEnd && a.stream() == b.stream();
    }

private:
    void growTo(qint32 index);

    QByteArray m_bytes = QByteArray(1, '\0'); // always at least CaptureEnd + 1 bytes
    qint32 m_captureEnd = 0;
};

} // namespace ferrox
