#pragma once

// Small appenders the renderers share. Output is code page 932 bytes.

#include <QByteArray>
#include <QtGlobal>

namespace ferrox::TextOutput {

inline void appendLineEnd(QByteArray &out)
{
    out.append("\r\n", 2);
}

// A count below zero writes nothing.
inline void appendSpaces(QByteArray &out, qsizetype count)
{
    if (count > 0)
        out.append(count, ' ');
}

// The line number text of n: its last six decimal digits with leading
// zeros, as the last six characters of 100000000 + n (or 1000000 + n)
// give them.
inline void appendLineNumber(QByteArray &out, qint32 n)
{
    char digits[6];
    qint64 value = n % 1000000;
    if (value < 0)
        value += 1000000;
    for (int i = 5; i >= 0; --i) {
        digits[i] = char('0' + value % 10);
        value /= 10;
    }
    out.append(digits, 6);
}

// A separator line of `count` underscores, then CR and a line end.
inline void appendRule(QByteArray &out, qsizetype count)
{
    out.append(count, '_');
    out.append("\r\r\n", 3);
}

} // namespace ferrox::TextOutput

namespace ferrox {

// A mode's fixed texts, encoded to code page 932 on first use and kept.
template<typename Texts>
const Texts &encodedOnce()
{
    static const Texts texts;
    return texts;
}

} // namespace ferrox
