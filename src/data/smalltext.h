#pragma once

#include <QByteArrayView>

#include <algorithm>
#include <cstring>

namespace ferrox {

// A short text of at most N bytes kept inline, for the pieces of a pending
// line whose length the layout bounds. Bytes beyond N are dropped, so even
// a mistaken bound cannot write past the end.
//
// With a Width, the text sits between spaces: Lead of them before it and
// spaces after it up to Width, so a line writes it padded to Width
// columns, aligned left or (when it is no wider) right, with one copy of
// a fixed size instead of a copy and a fill of sizes known only then.
template<int N, int Width = 0, int Lead = 0>
class SmallText
{
    static_assert(Width <= N && (Lead == 0 || Lead >= Width));

public:
    SmallText()
    {
        if constexpr (Width > 0)
            std::memset(m_bytes, ' ', sizeof m_bytes);
    }

    void append(char c)
    {
        if (m_size < N)
            text()[m_size++] = c;
    }
    void append(QByteArrayView bytes)
    {
        const int n = std::min(int(bytes.size()), N - m_size);
        if (n > 0)
            std::memcpy(text() + m_size, bytes.data(), size_t(n));
        m_size += std::max(n, 0);
    }
    // The first `size` of M bytes, copied as one block of M when there is
    // room (what lies past `size` is written over next): a fixed-size copy
    // instead of a call for a few bytes. With a Width, the bytes past
    // `size` must be spaces.
    template<size_t M>
    void appendPadded(const char (&bytes)[M], int size)
    {
        if (m_size + int(M) > N) {
            append(QByteArrayView(bytes, size));
            return;
        }
        std::memcpy(text() + m_size, bytes, M);
        m_size += size;
    }
    // Room for `n` bytes written straight at the pointer returned, or
    // nullptr when there is none; advanceTo() then says where they end.
    char *claim(int n) { return m_size + n <= N ? text() + m_size : nullptr; }
    void advanceTo(const char *end) { m_size = int(end - text()); }

    void clear()
    {
        if constexpr (Width > 0)
            std::memset(text(), ' ', Width);
        m_size = 0;
    }
    int size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }
    QByteArrayView view() const { return QByteArrayView(text(), m_size); }

    // Width bytes: the text cut or padded with spaces.
    const char *leftAligned() const { return text(); }
    // Width bytes: spaces, then the first `size` bytes of the text (at most Width).
    const char *rightAligned(int size) const { return text() + size - Width; }

private:
    char *text() { return m_bytes + Lead; }
    const char *text() const { return m_bytes + Lead; }

    char m_bytes[Lead + N];
    int m_size = 0;
};

} // namespace ferrox
