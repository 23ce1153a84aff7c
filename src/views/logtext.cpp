#include "logtext.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace ferrox {

namespace {

bool isLeadByte(quint8 b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool isTrailByte(quint8 b)
{
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// Single bytes code page 932 leaves unassigned.
bool isUndefinedSingleByte(quint8 b)
{
    return b == 0x80 || b == 0xA0 || b >= 0xFD;
}

// The code page converter writes the unassigned pair FC FC for a
// character it cannot hold; our files show "?" there instead.
QByteArray questionMarksForUnmapped(QByteArray bytes)
{
    QByteArray out;
    out.reserve(bytes.size());
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size; ++i) {
        const quint8 b = quint8(bytes[i]);
        if (isLeadByte(b) && i + 1 < size) {
            if (b == 0xFC && quint8(bytes[i + 1]) == 0xFC)
                out.append('?');
            else
                out.append(bytes.constData() + i, 2);
            ++i;
        } else {
            out.append(char(b));
        }
    }
    return out;
}

} // namespace

QString normalizeLineBreaks(const QString &text)
{
    constexpr QChar cr = QLatin1Char('\r');
    constexpr QChar lf = QLatin1Char('\n');
    if (!text.contains(cr))
        return text;
    QString lines;
    lines.reserve(text.size());
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        if (c != cr) {
            lines.append(c);
            continue;
        }
        qsizetype run = i;
        while (run < size && text[run] == cr)
            ++run;
        if (run < size && text[run] == lf) {
            lines.append(lf); // CR… LF is one break
            i = run;
        } else {
            lines.append(QString(run - i, lf)); // lone CRs: one break each
            i = run - 1;
        }
    }
    return lines;
}

QString decodeCodePage932(const QByteArray &bytes)
{
    // The converter swallows the byte after a lead byte even when it is
    // no trail byte, and drops a lead byte at the end; so the bytes are
    // judged here first: well-formed spans go to the converter, every
    // other byte shows as one U+FFFD and the next is judged on its own.
    QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
    QString text;
    text.reserve(bytes.size());
    const qsizetype size = bytes.size();
    qsizetype spanStart = 0;
    const auto flush = [&](qsizetype end) {
        if (end > spanStart)
            text += decoder.decode(QByteArrayView(bytes).sliced(spanStart, end - spanStart));
    };
    for (qsizetype i = 0; i < size; ++i) {
        const quint8 b = quint8(bytes[i]);
        if (isLeadByte(b)) {
            if (i + 1 < size && isTrailByte(quint8(bytes[i + 1]))) {
                ++i;
                continue;
            }
        } else if (!isUndefinedSingleByte(b)) {
            continue;
        }
        flush(i);
        text += QChar(QChar::ReplacementCharacter);
        spanStart = i + 1;
    }
    flush(size);
    return text;
}

QString decodeLogText(const QByteArray &bytes)
{
    // CR and LF are never part of a double-byte character, so the breaks
    // can be settled after decoding.
    return normalizeLineBreaks(decodeCodePage932(bytes));
}

QByteArray encodeLogText(const QString &text)
{
    QString crlf;
    crlf.reserve(text.size() + text.size() / 16);
    for (const QChar c : text) {
        if (c == QLatin1Char('\n') || c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            crlf += QLatin1String("\r\n");
        else
            crlf += c;
    }
    QStringEncoder encoder("windows-31j");
    return questionMarksForUnmapped(encoder.encode(crlf));
}

bool isRichTextFile(const QByteArray &bytes)
{
    return bytes.startsWith("{\\rtf");
}

bool looksBinary(const QByteArray &bytes)
{
    return bytes.contains('\0');
}

} // namespace ferrox
