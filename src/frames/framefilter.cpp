#include "framefilter.h"

#include "framecharacters.h"

#include <cctype>

namespace ferrox {

bool BytePattern::foundIn(QByteArrayView haystack) const
{
    if (!highNibble)
        return haystack.indexOf(bytes) >= 0;
    for (qsizetype at = haystack.indexOf(bytes); at >= 0 && at + bytes.size() < haystack.size();
         at = haystack.indexOf(bytes, at + 1)) {
        if (std::uint8_t(haystack[at + bytes.size()]) >> 4 == *highNibble)
            return true;
    }
    return false;
}

QString BytePattern::hex() const
{
    QString digits = QString::fromLatin1(bytes.toHex().toUpper());
    if (highNibble)
        digits += QString::number(*highNibble, 16).toUpper();
    return digits;
}

std::optional<BytePattern> BytePattern::fromHex(QStringView text)
{
    QByteArray digits;
    for (const QChar c : text) {
        if (c == u' ')
            continue;
        if (c.unicode() >= 0x80 || !std::isxdigit(c.unicode()))
            return std::nullopt;
        digits += char(c.unicode());
    }
    if (digits.isEmpty())
        return std::nullopt;
    BytePattern pattern;
    if (digits.size() % 2 == 1) {
        pattern.highNibble = std::uint8_t(QByteArray::fromHex(QByteArray(1, '0') + digits.back()).at(0));
        digits.chop(1);
    }
    pattern.bytes = QByteArray::fromHex(digits);
    return pattern;
}

std::optional<TypedPattern> typedPattern(const QString &typed)
{
    if (!typed.startsWith(QLatin1String("hex:"), Qt::CaseInsensitive))
        return TypedPattern {{}, typed};
    const std::optional<BytePattern> bytes = BytePattern::fromHex(QStringView(typed).sliced(4));
    if (!bytes)
        return std::nullopt;
    return TypedPattern {*bytes, {}};
}

bool FrameFilter::accepts(const Frame &frame) const
{
    if (direction && frame.direction != *direction)
        return false;
    if (failedOnly && frame.verdict != FrameVerdict::Bad)
        return false;
    if (!bytes.isEmpty() && !bytes.foundIn(frame.bytes))
        return false;
    if (kinds && !(frame.kinds & kinds))
        return false;
    if (slowerThanMicros && !(frame.responseMicros && *frame.responseMicros > *slowerThanMicros))
        return false;
    return text.isEmpty() || frame.summary.contains(text, Qt::CaseInsensitive)
        || frameCharacters(frame.bytes).contains(text, Qt::CaseInsensitive);
}

std::optional<FrameFilter> frameFilterNamed(const QString &word)
{
    FrameFilter filter;
    if (word == QLatin1String("j1")) {
        filter.direction = Direction::J1;
    } else if (word == QLatin1String("j2")) {
        filter.direction = Direction::J2;
    } else if (word == QLatin1String("errors")) {
        filter.failedOnly = true;
    } else if (word == QLatin1String("exceptions")) {
        filter.kinds = FrameKind::Exception;
    } else if (word.startsWith(QLatin1String("slow:"))) {
        filter.slowerThanMicros = microsFromMillis(word.mid(5), 3600000);
        if (!filter.slowerThanMicros)
            return std::nullopt;
    } else if (const std::optional<FrameKind> kind = frameKindNamed(word); kind && *kind != FrameKind::Exception) {
        filter.kinds = *kind;
    } else {
        return std::nullopt;
    }
    return filter;
}

QStringList frameFilterNames()
{
    QStringList names {QStringLiteral("j1"), QStringLiteral("j2"), QStringLiteral("errors"), QStringLiteral("exceptions")};
    for (const FrameKind kind : allFrameKinds) {
        if (kind != FrameKind::Exception)
            names << frameKindName(kind);
    }
    return names << QStringLiteral("slow:MS");
}

std::optional<qint64> microsFromMillis(const QString &text, double mostMillis)
{
    bool ok = false;
    const double ms = text.toDouble(&ok);
    if (!ok || !(ms >= 0 && ms <= mostMillis)) // NaN fails both
        return std::nullopt;
    return qint64(ms * 1000 + 0.5);
}

} // namespace ferrox
