#pragma once

#include "cp932.h"

#include <QByteArrayView>

#include <cstdint>

namespace ferrox {

// A line's character column of at most N captured bytes, with the code
// page 932 pass-through (see replaceLoneLeadBytes) applied as each byte is
// added: the line is then written with one plain copy, not copied and
// read back a second time to look for lone lead bytes. Bytes beyond N are
// dropped and judged with nothing.
template<int N>
class CapturedColumn
{
public:
    void append(std::uint8_t b)
    {
        if (m_size >= N)
            return;
        m_bytes[m_size] = char(b);
        m_waiting = judgeCp932Byte(m_bytes, m_size, m_waiting);
        ++m_size;
    }

    // The finished column as written: a lead byte at its end becomes "?".
    // Nothing may be appended after this but after clear().
    QByteArrayView finished()
    {
        if (m_waiting)
            m_bytes[m_size - 1] = '?';
        m_waiting = 0;
        return QByteArrayView(m_bytes, m_size);
    }

    void clear()
    {
        m_size = 0;
        m_waiting = 0;
    }
    int size() const { return m_size; }

private:
    char m_bytes[N];
    int m_size = 0;
    unsigned m_waiting = 0; // the last byte is a lead byte waiting for its trail byte
};

} // namespace ferrox
