#pragma once

#include <QByteArray>

#include <cstdint>

namespace ferrox::test {

// Stream bytes whose tag breaks the order high nibble, low nibble of the
// same sender (the end code may follow a complete byte only).
inline int tagSequenceErrors(const QByteArray &stream)
{
    int errors = 0;
    std::uint8_t previous = 0x9;
    for (const char c : stream) {
        const std::uint8_t tag = static_cast<std::uint8_t>(c) >> 4;
        const bool afterComplete = previous == 0x9 || previous == 0xB;
        const bool valid = (tag == 0x8 || tag == 0xA || tag == 0xF) ? afterComplete
            : tag == 0x9                                            ? previous == 0x8
            : tag == 0xB                                            ? previous == 0xA
                                                                    : false;
        errors += valid ? 0 : 1;
        previous = tag;
    }
    return errors;
}

} // namespace ferrox::test
