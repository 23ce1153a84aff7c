#include "characterrules.h"

namespace ferrox {

void appendAsciiCharacter(QByteArray &out, std::uint8_t value)
{
    switch (value) {
    case 2: out.append("[STX]"); return;
    case 3: out.append("[ETX]"); return;
    case 4: out.append("[EOT]"); return;
    case 5: out.append("[ENQ]"); return;
    case 6: out.append("[ACK]"); return;
    case 9: out.append('\t'); return;
    case 10: out.append("[LF]"); return;
    case 13: out.append("\r\n", 2); return;
    case 21: out.append("[NAK]"); return;
    case 27: out.append("[ESC]"); return;
    default:
        out.append(char(value < 32 ? 0xF7 : value));
        return;
    }
}

} // namespace ferrox
