#include "windowmenu.h"

#include "views/windowlayout.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

namespace ferrox {

namespace {

const char windowListProperty[] = "ferroxWindowListEntry";

QList<QMdiSubWindow *> windowsWhere(const QMdiArea &area, bool minimized)
{
    QList<QMdiSubWindow *> windows;
    for (QMdiSubWindow *sub : area.subWindowList(QMdiArea::CreationOrder)) {
        if (sub->isVisible() && sub->isMinimized() == minimized)
            windows.append(sub);
    }
    return windows;
}

} // namespace

WindowMenu::WindowMenu(QMdiArea &area, QMenu &menu, const WindowMenuItems &items, QObject *parent)
    : QObject(parent), m_area(area), m_menu(menu)
{
    connect(items.cascade, &QAction::triggered, this, &WindowMenu::cascade);
    connect(items.tileHorizontal, &QAction::triggered, this, &WindowMenu::tileHorizontal);
    connect(items.tileVertical, &QAction::triggered, this, &WindowMenu::tileVertical);
    connect(items.arrangeIcons, &QAction::triggered, this, &WindowMenu::arrangeIcons);
    connect(&m_menu, &QMenu::aboutToShow, this, &WindowMenu::updateWindowList);
}

void WindowMenu::cascade()
{
    m_area.cascadeSubWindows();
}

void WindowMenu::tileHorizontal()
{
    tile(tileOneAboveTheOther);
}

void WindowMenu::tileVertical()
{
    tile(tileSideBySide);
}

void WindowMenu::tile(QList<QRect> (*layout)(const QRect &, int))
{
    const QList<QMdiSubWindow *> windows = windowsWhere(m_area, false);
    const QList<QRect> places = layout(m_area.viewport()->rect(), int(windows.size()));
    for (qsizetype i = 0; i < windows.size(); ++i) {
        windows[i]->showNormal();
        windows[i]->setGeometry(places[i]);
    }
}

void WindowMenu::arrangeIcons()
{
    const QList<QMdiSubWindow *> icons = windowsWhere(m_area, true);
    if (icons.isEmpty())
        return;
    const QList<QPoint> places = iconPlaces(m_area.viewport()->rect(), icons.first()->size(),
                                            int(icons.size()));
    for (qsizetype i = 0; i < icons.size(); ++i)
        icons[i]->move(places[i]);
}

void WindowMenu::updateWindowList()
{
    for (QAction *action : m_menu.actions()) {
        if (action->property(windowListProperty).toBool()) {
            m_menu.removeAction(action);
            action->deleteLater();
        }
    }
    const QList<QMdiSubWindow *> windows = m_area.subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty())
        return;
    QAction *separator = m_menu.addSeparator();
    separator->setProperty(windowListProperty, true);
    int index = 0;
    for (QMdiSubWindow *sub : windows) {
        ++index;
        // A caption's own "&" (a file path may hold one) is shown, not a mnemonic.
        const QString label = (index < 10 ? QStringLiteral("&%1 ").arg(index)
                                          : QStringLiteral("%1 ").arg(index))
                              + QString(sub->windowTitle()).replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction *entry = m_menu.addAction(label);
        entry->setProperty(windowListProperty, true);
        entry->setCheckable(true);
        entry->setChecked(sub == m_area.activeSubWindow());
        QMdiSubWindow *target = sub;
        connect(entry, &QAction::triggered, &m_area, [this, target] {
            if (m_area.subWindowList().contains(target))
                m_area.setActiveSubWindow(target);
        });
    }
}

} // namespace ferrox
