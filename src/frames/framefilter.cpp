#include "framefilter.h"

#include "framecharacters.h"

namespace ferrox {

bool FrameFilter::accepts(const Frame &frame) const
{
    if (direction && frame.direction != *direction)
        return false;
    if (failedOnly && frame.verdict != FrameVerdict::Bad)
        return false;
    if (!bytes.isEmpty() && !frame.bytes.contains(bytes))
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
        bool ok = false;
        const double ms = word.mid(5).toDouble(&ok);
        if (!ok || !(ms >= 0 && ms <= 3600000)) // NaN too
            return std::nullopt;
        filter.slowerThanMicros = qint64(ms * 1000 + 0.5);
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

} // namespace ferrox
