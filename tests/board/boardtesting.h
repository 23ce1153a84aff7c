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
        // A high nibble (or the end code) after a low one; a low one after its sender's high one.
        const bool valid = (tag == 0x8 || tag == 0xA || tag == 0xF) ? (previous == 0x9 || previous == 0xB)
                                                                    : (tag == 0x9 || tag == 0xB) && previous == tag - 1;
        errors += valid ? 0 : 1;
        previous = tag;
    }
    return errors;
}

} // namespace ferrox::test
