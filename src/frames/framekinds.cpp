#include "frame.h"

namespace ferrox {

QString frameKindName(FrameKind kind)
{
    switch (kind) {
    case FrameKind::Crc: return QStringLiteral("crc");
    case FrameKind::Length: return QStringLiteral("length");
    case FrameKind::Count: return QStringLiteral("count");
    case FrameKind::Echo: return QStringLiteral("echo");
    case FrameKind::Range: return QStringLiteral("range");
    case FrameKind::Broadcast: return QStringLiteral("broadcast");
    case FrameKind::Unpaired: return QStringLiteral("unpaired");
    case FrameKind::Exception: return QStringLiteral("exception");
    }
    return {};
}

QString frameKindsText(FrameKinds kinds)
{
    QStringList names;
    for (const FrameKind kind : allFrameKinds) {
        if (kinds.testFlag(kind))
            names << frameKindName(kind);
    }
    return names.join(u',');
}

std::optional<FrameKind> frameKindNamed(const QString &name)
{
    for (const FrameKind kind : allFrameKinds) {
        if (frameKindName(kind) == name)
            return kind;
    }
    return std::nullopt;
}

} // namespace ferrox
