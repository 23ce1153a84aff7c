// Where the main window opens: stored places kept while reachable, damaged
// ones brought onto a screen, a first run large enough for its contents.
#include "app/windowplacement.h"

#include <gtest/gtest.h>

using namespace ferrox;

namespace {

TEST(WindowPlacement, ReachablePlacesAreKeptOthersComeOntoAScreen)
{
    // Two screens side by side; the primary one has a panel 30 pixels high on top.
    const QList<QRect> screens = {QRect(0, 30, 1280, 994), QRect(1280, 0, 1920, 1080)};
    const QSize minimum(100, 50);
    struct Case { QRect wanted; QSize atLeast; QRect placed; };
    const Case cases[] = {
        {QRect(-300, 200, 800, 600), minimum, QRect(-300, 200, 800, 600)},      // partly off, still reachable
        {QRect(-32000, 100, 800, 600), minimum, QRect(0, 100, 800, 600)},       // far off to the left
        {QRect(2000, 32000, 800, -5), minimum, QRect(480, 974, 800, 50)},       // below, and too small
        {QRect(32000, 32000, 32000, 32000), minimum, QRect(0, 30, 1280, 994)},  // huge
        {QRect(67, 67, 433, 433), QSize(790, 700), QRect(67, 67, 790, 700)},    // first run
    };
    for (const Case &c : cases)
        EXPECT_EQ(placeMainWindow(c.wanted, screens, c.atLeast), c.placed) << c.wanted.x() << "," << c.wanted.y();
}

} // namespace
