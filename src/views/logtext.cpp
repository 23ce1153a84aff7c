#include "logtext.h"

#include "data/cp932.h"

#include <algorithm>

namespace ferrox {

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

QString decodeLogText(QByteArrayView bytes)
{
    // CR and LF are never part of a double-byte character, so the breaks
    // can be settled after decoding.
    return normalizeLineBreaks(decodeCp932Exact(bytes));
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
    return encodeCp932(crlf);
}

qsizetype textPieceEnd(QStringView text, qsizetype from, qsizetype budget)
{
    qsizetype end = std::min(text.size(), from + std::max<qsizetype>(budget, 1));
    if (end < text.size() && text[end - 1].isHighSurrogate())
        ++end;
    return end;
}

qsizetype linePieceEnd(QByteArrayView bytes, qsizetype from, qsizetype budget)
{
    const qsizetype start = std::min(bytes.size(), from + std::max<qsizetype>(budget, 1) - 1);
    const qsizetype lineFeed = bytes.indexOf('\n', start);
    return lineFeed < 0 ? bytes.size() : lineFeed + 1;
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
