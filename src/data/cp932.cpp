#include "cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace ferrox {

namespace {

const char *const codePageName = "windows-31j";

} // namespace

QByteArray encodeCp932(QStringView text)
{
    QStringEncoder encoder(codePageName);
    const QByteArray encoded = encoder.encode(text);
    // ICU writes the pair 0xFC 0xFC for each character code page 932 lacks;
    // it is no character of the code page, so it only ever means that.
    QByteArray out;
    out.reserve(encoded.size());
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        const auto b = std::uint8_t(encoded[i]);
        if (isCp932LeadByte(b) && i + 1 < encoded.size()) {
            if (b == 0xFC && std::uint8_t(encoded[i + 1]) == 0xFC)
                out += '?';
            else
                out.append(encoded.constData() + i, 2);
            ++i;
        } else {
            out += char(b);
        }
    }
    return out;
}

QString decodeCp932(QByteArrayView bytes)
{
    QStringDecoder decoder(codePageName);
    return decoder.decode(bytes);
}

void appendCapturedBytes(QByteArray &out, QByteArrayView captured)
{
    const qsizetype start = out.size();
    out.append(captured.data(), captured.size());
    char *written = out.data() + start;
    const qsizetype n = captured.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (!isCp932LeadByte(std::uint8_t(written[i])))
            continue;
        if (i + 1 < n && isCp932TrailByte(std::uint8_t(written[i + 1])))
            ++i; // a whole double-byte character
        else
            written[i] = '?';
    }
}

} // namespace ferrox
