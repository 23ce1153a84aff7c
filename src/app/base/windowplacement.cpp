#include "windowplacement.h"

#include <algorithm>

namespace ferrox {

namespace {

qint64 overlapArea(const QRect &a, const QRect &b)
{
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : qint64(common.width()) * common.height();
}

bool topEdgeShows(const QRect &window, const QList<QRect> &screens)
{
    const QRect topEdge(window.left(), window.top(), window.width(), 1);
    const int needed = std::min(window.width(), windowGripPixels);
    return std::any_of(screens.cbegin(), screens.cend(),
                       [&](const QRect &screen) { return topEdge.intersected(screen).width() >= needed; });
}

} // namespace

QRect placeMainWindow(QRect wanted, const QList<QRect> &screens, QSize atLeast)
{
    wanted.setSize(wanted.size().expandedTo(atLeast));
    if (screens.isEmpty())
        return wanted;

    QRect target = screens.constFirst();
    for (const QRect &screen : screens) {
        if (overlapArea(wanted, screen) > overlapArea(wanted, target))
            target = screen;
    }
    QRect all;
    for (const QRect &screen : screens)
        all |= screen;
    if (wanted.width() > all.width())
        wanted.setWidth(target.width());
    if (wanted.height() > all.height())
        wanted.setHeight(target.height());

    if (topEdgeShows(wanted, screens))
        return wanted;
    const QSize size = wanted.size().boundedTo(target.size());
    const int left = std::clamp(wanted.left(), target.left(), target.right() + 1 - size.width());
    const int top = std::clamp(wanted.top(), target.top(), target.bottom() + 1 - size.height());
    return QRect(QPoint(left, top), size);
}

} // namespace ferrox
