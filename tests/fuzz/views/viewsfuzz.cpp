// Any file a user opens as a log text must show without a crash.
#include "views/logtext.h"
#include "views/rtfreader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    // Read as rich text whatever the first bytes say, so the fuzzer need
    // not find "{\rtf" first.
    const ferrox::StyledText text = ferrox::readRtf(bytes);
    const QString plain = ferrox::plainTextOf(text);
    const QString decoded = ferrox::decodeLogText(bytes);
    // Whatever was shown can be saved again.
    (void)ferrox::encodeLogText(plain + decoded);
    return 0;
}
