#include "hextext.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ferrox {

namespace {

constexpr int ValuesPerRow = 16;
// The view covers positions 0 to 262143; the buffer's last position is
// reached only by a store.
constexpr qint32 ViewPositions = CaptureBuffer::Size - 1;

constexpr char HexDigits[] = "0123456789ABCDEF";

// Digit value in the radix, any case; -1 for any other character.
int digitValue(QChar c, int radix)
{
    int value = -1;
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        value = u - u'0';
    else if (u >= u'A' && u <= u'F')
        value = u - u'A' + 10;
    else if (u >= u'a' && u <= u'f')
        value = u - u'a' + 10;
    return value < radix ? value : -1;
}

// Digits in a radix; leading zeros do not count towards the range.
qint32 parseDigits(QStringView digits, int radix)
{
    qint64 value = 0;
    for (const QChar c : digits) {
        const int digit = digitValue(c, radix);
        if (digit < 0)
            return -1;
        value = value * radix + digit;
        if (value > std::numeric_limits<qint32>::max())
            return -1; // every further digit keeps it out of range, or is no digit: -1 either way
    }
    return static_cast<qint32>(value);
}

// Upper case for the ASCII letters only: a character beyond ASCII never
// becomes a digit or a prefix (the ligature U+FB00 would become "FF").
QString asciiUpper(const QString &text)
{
    QString upper = text;
    for (QChar &c : upper) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - u'a' + u'A');
    }
    return upper;
}

// The tokens of a line as SplitTokens() finds them, as views into it;
// false for a line of more than TokenSlots tokens.
template<typename Sink>
bool forEachToken(QStringView line, Sink sink)
{
    // The first "=" is a token of its own, as if spaced out.
    const qsizetype equals = line.indexOf(u'=');
    int count = 0;
    qsizetype at = 0;
    const qsizetype end = line.size();
    while (true) {
        while (at < end && line[at] == u' ')
            ++at;
        if (at == end)
            return true;
        if (count == TokenSlots)
            return false;
        qsizetype tokenEnd = at;
        if (at == equals)
            tokenEnd = at + 1;
        else {
            while (tokenEnd < end && line[tokenEnd] != u' ' && tokenEnd != equals)
                ++tokenEnd;
        }
        sink(line.sliced(at, tokenEnd - at));
        ++count;
        at = tokenEnd;
    }
}

qint32 parseDecimal(const QString &text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return -1;
    const double rounded = std::nearbyint(value); // half to even
    if (rounded < std::numeric_limits<qint32>::min() || rounded > std::numeric_limits<qint32>::max())
        return -1;
    return static_cast<qint32>(rounded);
}

bool endsPiece(QChar c)
{
    return c == u'\r' || c == u'\n' || c == u',' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

} // namespace

QByteArray ModifyViewText(const CaptureBuffer &capture)
{
    QByteArray text;
    text.reserve(qsizetype(std::min(capture.CaptureEnd() + 1, ViewPositions)) * 3 + 64);
    for (qint32 i = 0; i < ViewPositions; ++i) {
        const std::uint8_t value = capture.at(i);
        if (value == 0x00)
            break;
        text.append(HexDigits[value >> 4]);
        text.append(HexDigits[value & 0x0F]);
        text.append(' ');
        if ((i + 1) % ValuesPerRow == 0)
            text.append("\r\r\n");
        if (value == 0xFF)
            break;
    }
    return text;
}

QString ExpandTabs(const QString &text)
{
    QString expanded = text;
    return expanded.replace(u'\t', QStringLiteral("        "));
}

std::optional<QStringList> SplitTokens(const QString &line)
{
    QStringList tokens;
    if (!forEachToken(line, [&](QStringView token) { tokens.append(token.toString()); }))
        return std::nullopt;
    return tokens;
}

qint32 ParseNumberText(const QString &text)
{
    const QString upper = asciiUpper(text);
    if (upper.startsWith(QStringLiteral("0X")))
        return parseDigits(QStringView(upper).sliced(2), 16);
    if (upper.startsWith(QStringLiteral("0B")))
        return parseDigits(QStringView(upper).sliced(2), 2);
    return parseDecimal(upper);
}

bool mentionsEndCode(const QString &text)
{
    return asciiUpper(text).contains(QStringLiteral("FF"));
}

std::optional<CaptureBuffer> readEditedText(const QString &text, const CaptureBuffer &current)
{
    QByteArray values;
    bool bad = false;
    const auto store = [&](QStringView token) {
        const qint32 value = parseDigits(token, 16); // ParseNumberText("0x" + token)
        if (value < 0 || value > 0xFF || values.size() == CaptureBuffer::Size)
            bad = true;
        else
            values.append(char(value));
    };
    qsizetype pieceStart = 0;
    for (qsizetype i = 0; i <= text.size() && !bad; ++i) {
        if (i < text.size() && !endsPiece(text.at(i)))
            continue;
        QStringView piece = QStringView(text).sliced(pieceStart, i - pieceStart);
        pieceStart = i + 1;
        QString expanded;
        if (piece.contains(u'\t')) {
            expanded = ExpandTabs(piece.toString());
            piece = expanded;
        }
        // Values past the 1024th of a line would be dropped without a word.
        int tokens = 0;
        if (!forEachToken(piece, [&](QStringView token) {
                if (++tokens > StoredTokensPerLine)
                    bad = true;
                else if (!bad)
                    store(token);
            }))
            bad = true;
    }
    if (bad || values.isEmpty())
        return std::nullopt;

    CaptureBuffer edited = current;
    const auto last = static_cast<qint32>(values.size() - 1);
    edited.setCaptureEnd(last);
    for (qint32 i = 0; i <= last; ++i)
        edited.setAt(i, static_cast<std::uint8_t>(values.at(i)));
    return edited;
}

} // namespace ferrox
