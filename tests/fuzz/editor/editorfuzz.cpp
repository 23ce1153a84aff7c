// Whatever a user types or pastes into the editor must be stored whole
// or refused whole, without a crash.
#include "editor/hextext.h"
#include "views/logtext.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace ferrox;
    const QString text = decodeLogText(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    (void)ParseNumberText(text);
    const CaptureBuffer current = CaptureBuffer::fromStream(QByteArrayView("\xA4\xB1\x80\x96\xFF"));
    const std::optional<CaptureBuffer> edited = readEditedText(text, current);
    if (!edited)
        return 0;
    // The view of the stored buffer (up to its first zero or end code)
    // stores those same values again.
    const QByteArray view = ModifyViewText(*edited);
    if (view.isEmpty())
        return 0;
    const std::optional<CaptureBuffer> again = readEditedText(decodeLogText(view), current);
    const auto shown = qint32(view.count(' '));
    for (qint32 i = 0; i < shown; ++i) {
        if (!again || again->CaptureEnd() != shown - 1 || again->at(i) != edited->at(i))
            __builtin_trap();
    }
    return 0;
}
