#include "textsink.h"

#include "cp932.h"

namespace ferrox {

void TextSink::putCaptured(QByteArrayView captured)
{
    if (captured.isEmpty())
        return;
    ensure(captured.size());
    std::memcpy(m_pos, captured.data(), size_t(captured.size()));
    replaceLoneLeadBytes(m_pos, captured.size());
    m_pos += captured.size();
}

} // namespace ferrox
