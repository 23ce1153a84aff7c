#pragma once

#include <QList>
#include <QRect>
#include <QSize>

namespace ferrox {

// Where the main window opens, in pixels: `wanted` is the stored geometry
// (the defaults on a first run); `screens` are the screens' available
// areas (without panels and docks), the primary screen first.
//
// - The window grows to at least `atLeast`: its minimum size, or on a
//   first run the size that shows the whole menu bar and settings panel.
// - A window larger than all the screens together shrinks to the screen
//   it is placed on.
// - A window whose top edge (where its title bar is) does not show on any
//   screen over at least `grip` pixels is moved, the least distance, onto
//   the screen it overlaps most (the primary screen when none); a stored
//   place the user can still reach is kept as it is.
QRect placeMainWindow(QRect wanted, const QList<QRect> &screens, QSize atLeast);

// Pixels of the top edge that must show for the window to count as reachable.
constexpr int windowGripPixels = 64;

} // namespace ferrox
