#pragma once

#include <QObject>

class QAction;
class QMdiArea;
class QMenu;

namespace ferrox {

// The Window menu's own items, in the menu they belong to.
struct WindowMenuItems
{
    QAction *cascade = nullptr;
    QAction *tileHorizontal = nullptr; // one above the other
    QAction *tileVertical = nullptr;   // side by side
    QAction *arrangeIcons = nullptr;
};

// The Window menu: cascade, tile one above the other, tile side by side,
// line up minimized windows, and the list of open child windows (after
// the menu's own items; the active one checked).
class WindowMenu : public QObject
{
    Q_OBJECT

public:
    // Wires the menu's own items and keeps the window list up to date.
    WindowMenu(QMdiArea &area, QMenu &menu, const WindowMenuItems &items, QObject *parent = nullptr);

    void cascade();
    void tileHorizontal(); // one above the other
    void tileVertical();   // side by side
    void arrangeIcons();

    // Rebuilds the list of windows at the end of the menu.
    void updateWindowList();

private:
    // Shows every child window that is not minimized normally, placed by layout.
    void tile(QList<QRect> (*layout)(const QRect &area, int count));
    QMdiArea &m_area;
    QMenu &m_menu;
};

} // namespace ferrox
