#pragma once

// The renderers' output: bytes appended to a QByteArray through a raw
// pointer, so a full buffer's text (several MB) is written without a size
// check and reallocation per byte. Output is code page 932 bytes.

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

#include <cstring>

namespace ferrox {

class TextSink
{
public:
    // Appends after what `target` holds; `expected` bytes are set aside at
    // once. finish() gives `target` its final size.
    TextSink(QByteArray &target, qsizetype expected)
        : m_target(target)
    {
        const qsizetype used = m_target.size();
        m_target.resize(used + std::max<qsizetype>(expected, 256));
        m_begin = m_target.data();
        m_pos = m_begin + used;
        m_end = m_begin + m_target.size();
    }
    TextSink(const TextSink &) = delete;
    TextSink &operator=(const TextSink &) = delete;

    void finish() { m_target.resize(m_pos - m_begin); }

    // Bytes of the target written so far, header included: where the next
    // byte goes.
    qsizetype offset() const { return m_pos - m_begin; }

    void put(char c)
    {
        ensure(1);
        *m_pos++ = c;
    }
    void put(QByteArrayView bytes)
    {
        if (bytes.isEmpty())
            return;
        ensure(bytes.size());
        std::memcpy(m_pos, bytes.data(), size_t(bytes.size()));
        m_pos += bytes.size();
    }
    void putLineEnd() { put(QByteArrayView("\r\n", 2)); }

    // A count below zero writes nothing.
    void putSpaces(qsizetype count)
    {
        if (count <= 0)
            return;
        ensure(count);
        std::memset(m_pos, ' ', size_t(count));
        m_pos += count;
    }

    // The line number text of n: its last six decimal digits with leading
    // zeros, as the last six characters of 100000000 + n (or 1000000 + n)
    // give them.
    void putLineNumber(qint32 n)
    {
        ensure(6);
        qint64 value = n % 1000000;
        if (value < 0)
            value += 1000000;
        for (int i = 5; i >= 0; --i) {
            m_pos[i] = char('0' + value % 10);
            value /= 10;
        }
        m_pos += 6;
    }

    // `count` underscores, then CR and a line end.
    void putRule(qsizetype count)
    {
        ensure(count + 3);
        std::memset(m_pos, '_', size_t(count));
        std::memcpy(m_pos + count, "\r\r\n", 3);
        m_pos += count + 3;
    }

    // Captured bytes with the code page 932 pass-through (see cp932.h).
    void putCaptured(QByteArrayView captured);

private:
    void ensure(qsizetype n)
    {
        if (m_end - m_pos < n)
            grow(n);
    }
    void grow(qsizetype n)
    {
        const qsizetype used = m_pos - m_begin;
        m_target.resize(std::max(m_target.size() * 2, used + n));
        m_begin = m_target.data();
        m_pos = m_begin + used;
        m_end = m_begin + m_target.size();
    }

    QByteArray &m_target;
    char *m_begin = nullptr;
    char *m_pos = nullptr;
    char *m_end = nullptr;
};

// A mode's fixed texts, encoded to code page 932 on first use and kept.
template<typename Texts>
const Texts &encodedOnce()
{
    static const Texts texts;
    return texts;
}

} // namespace ferrox
