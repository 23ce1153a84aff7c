// Where the main window opens: stored places kept while reachable, damaged
// ones brought onto a screen, a first run large enough for its contents.
#include "app/windowplacement.h"

#include <gtest/gtest.h>

using namespace ferrox;

namespace {

struct PlacementCase
{
    const char *name;
    QRect wanted;
    QSize atLeast;
    QRect placed;
};

class Placement : public testing::TestWithParam<PlacementCase>
{
};

// Two screens side by side; the primary one has a panel 30 pixels high on top.
const QList<QRect> screens = {QRect(0, 30, 1280, 994), QRect(1280, 0, 1920, 1080)};

TEST_P(Placement, OnTheScreens)
{
    EXPECT_EQ(placeMainWindow(GetParam().wanted, screens, GetParam().atLeast), GetParam().placed);
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, Placement,
    testing::Values(
        PlacementCase{"kept", QRect(67, 67, 433, 433), QSize(100, 50), QRect(67, 67, 433, 433)},
        PlacementCase{"on the second screen", QRect(1500, 100, 800, 600), QSize(100, 50), QRect(1500, 100, 800, 600)},
        PlacementCase{"partly off but reachable", QRect(-300, 200, 800, 600), QSize(100, 50), QRect(-300, 200, 800, 600)},
        PlacementCase{"far off to the left", QRect(-32000, 100, 800, 600), QSize(100, 50), QRect(0, 100, 800, 600)},
        PlacementCase{"above every screen", QRect(100, -5000, 800, 600), QSize(100, 50), QRect(100, 30, 800, 600)},
        PlacementCase{"title bar under the panel", QRect(100, 0, 800, 600), QSize(100, 50), QRect(100, 30, 800, 600)},
        PlacementCase{"below every screen", QRect(2000, 32000, 800, 600), QSize(100, 50), QRect(480, 424, 800, 600)},
        PlacementCase{"too small and below", QRect(0, 32000, 800, -5), QSize(100, 50), QRect(0, 974, 800, 50)},
        PlacementCase{"huge", QRect(32000, 32000, 32000, 32000), QSize(100, 50), QRect(0, 30, 1280, 994)},
        PlacementCase{"empty size", QRect(-32000, -32000, -32000, 0), QSize(100, 50), QRect(0, 30, 100, 50)},
        PlacementCase{"first run grows", QRect(67, 67, 433, 433), QSize(900, 700), QRect(67, 67, 900, 700)},
        PlacementCase{"first run keeps a bigger size", QRect(67, 67, 433, 433), QSize(300, 700), QRect(67, 67, 433, 700)}),
    [](const testing::TestParamInfo<PlacementCase> &info) {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

TEST(PlacementWithoutScreens, TakesTheWantedPlace)
{
    EXPECT_EQ(placeMainWindow(QRect(-5, -5, 10, 10), {}, QSize(100, 50)), QRect(-5, -5, 100, 50));
}

} // namespace
