#pragma once

// Streams as the board sends them, for the capture tests.

#include "link/linktesting.h"

#include <QByteArray>

#include <initializer_list>
#include <vector>

namespace ferrox::test {

inline QByteArray bytes(std::initializer_list<int> list)
{
    const std::vector<char> chars(list.begin(), list.end());
    return QByteArray(chars.data(), qsizetype(chars.size()));
}

inline const QByteArray endCode(1, char(0xFF));

// count stream bytes of monitored bytes sent by J1 (A?, B?), without an
// end code anywhere.
inline QByteArray j1Stream(qsizetype count)
{
    QByteArray out(count, Qt::Uninitialized);
    for (qsizetype i = 0; i < count; ++i)
        out[i] = char((i % 2 == 0 ? 0xA0 : 0xB0) | ((i / 2) & 0x0F));
    return out;
}

} // namespace ferrox::test
