#pragma once

#include <QByteArrayView>

#include <algorithm>
#include <cstring>

namespace ferrox {

// A short text of at most N bytes kept inline, for the pieces of a pending
// line whose length the layout bounds. Bytes beyond N are dropped, so even
// a mistaken bound cannot write past the end.
template<int N>
class SmallText
{
public:
    void append(char c)
    {
        if (m_size < N)
            m_bytes[m_size++] = c;
    }
    void append(QByteArrayView bytes)
    {
        const int n = std::min(int(bytes.size()), N - m_size);
        if (n > 0)
            std::memcpy(m_bytes + m_size, bytes.data(), size_t(n));
        m_size += std::max(n, 0);
    }
    // The first `size` of M bytes, copied as one block of M when there is
    // room (what lies past `size` is written over next): a fixed-size copy
    // instead of a call for a few bytes.
    template<size_t M>
    void appendPadded(const char (&bytes)[M], int size)
    {
        if (m_size + int(M) > N) {
            append(QByteArrayView(bytes, size));
            return;
        }
        std::memcpy(m_bytes + m_size, bytes, M);
        m_size += size;
    }
    void clear() { m_size = 0; }
    int size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }
    QByteArrayView view() const { return QByteArrayView(m_bytes, m_size); }

private:
    char m_bytes[N];
    int m_size = 0;
};

} // namespace ferrox
