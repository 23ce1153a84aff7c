#include "views/windowlayout.h"

#include <gtest/gtest.h>

using namespace ferrox;

namespace {

TEST(WindowLayout, OneAboveTheOtherSharesTheHeightExactly)
{
    const QRect area(0, 0, 600, 400);
    const QList<QRect> rects = tileOneAboveTheOther(area, 3);
    ASSERT_EQ(rects.size(), 3);
    EXPECT_EQ(rects[0], QRect(0, 0, 600, 133));
    EXPECT_EQ(rects[1], QRect(0, 133, 600, 133));
    EXPECT_EQ(rects[2], QRect(0, 266, 600, 134));
    EXPECT_TRUE(tileOneAboveTheOther(area, 0).isEmpty());
}

TEST(WindowLayout, SideBySideSharesTheWidthExactly)
{
    const QRect area(10, 20, 601, 400);
    const QList<QRect> rects = tileSideBySide(area, 3);
    ASSERT_EQ(rects.size(), 3);
    int right = area.left();
    for (const QRect &r : rects) {
        EXPECT_EQ(r.left(), right);
        EXPECT_EQ(r.top(), 20);
        EXPECT_EQ(r.height(), 400);
        right = r.left() + r.width();
    }
    EXPECT_EQ(right, area.left() + area.width());
    EXPECT_EQ(tileSideBySide(area, 1).first(), area);
}

TEST(WindowLayout, IconsLineUpAlongTheBottomAndStackUpwards)
{
    const QList<QPoint> places = iconPlaces(QRect(0, 0, 250, 300), QSize(100, 30), 5);
    ASSERT_EQ(places.size(), 5);
    EXPECT_EQ(places[0], QPoint(0, 270));
    EXPECT_EQ(places[1], QPoint(100, 270));
    EXPECT_EQ(places[2], QPoint(0, 240));
    EXPECT_EQ(places[4], QPoint(0, 210));
    EXPECT_TRUE(iconPlaces(QRect(0, 0, 250, 300), QSize(0, 30), 2).isEmpty());
    EXPECT_EQ(iconPlaces(QRect(0, 0, 50, 300), QSize(100, 30), 2)[1], QPoint(0, 240));
}

} // namespace
