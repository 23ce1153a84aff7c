#include "capturebuffer.h"

#include <algorithm>

namespace ferrox {

CaptureBuffer CaptureBuffer::fromStream(QByteArrayView stream)
{
    CaptureBuffer capture;
    const qint32 length = qint32(std::min<qsizetype>(stream.size(), Size));
    if (length > 0) {
        capture.m_bytes = stream.first(length).toByteArray();
        capture.m_captureEnd = length - 1;
    }
    return capture;
}

CaptureBuffer CaptureBuffer::fromStream(QByteArray &&stream)
{
    CaptureBuffer capture;
    if (!stream.isEmpty()) {
        stream.truncate(Size);
        capture.m_captureEnd = qint32(stream.size()) - 1;
        capture.m_bytes = std::move(stream);
    }
    return capture;
}

void CaptureBuffer::setCaptureEnd(qint32 index)
{
    m_captureEnd = std::clamp(index, 0, LastIndex);
    growTo(m_captureEnd);
}

std::uint8_t CaptureBuffer::at(qint32 index) const
{
    if (index < 0 || index >= m_bytes.size())
        return 0;
    return std::uint8_t(m_bytes.at(index));
}

void CaptureBuffer::setAt(qint32 index, std::uint8_t value)
{
    if (index < 0 || index > LastIndex)
        return;
    growTo(index);
    m_bytes[index] = char(value);
}

void CaptureBuffer::growTo(qint32 index)
{
    if (index >= m_bytes.size())
        m_bytes.resize(index + 1, '\0');
}

} // namespace ferrox
