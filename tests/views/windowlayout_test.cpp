#include "views/windowlayout.h"

#include <gtest/gtest.h>

using namespace ferrox;

namespace {

TEST(WindowLayout, TilesShareTheAreaExactlyAndIconsStackUpFromTheBottom)
{
    EXPECT_EQ(tileOneAboveTheOther(QRect(0, 0, 600, 400), 3),
              (QList<QRect>{QRect(0, 0, 600, 133), QRect(0, 133, 600, 133), QRect(0, 266, 600, 134)}));
    EXPECT_TRUE(tileOneAboveTheOther(QRect(0, 0, 600, 400), 0).isEmpty());
    const QList<QRect> columns = tileSideBySide(QRect(10, 20, 601, 400), 3);
    ASSERT_EQ(columns.size(), 3);
    EXPECT_EQ(columns[0].topLeft(), QPoint(10, 20));
    EXPECT_EQ(columns[1].left(), columns[0].right() + 1);
    EXPECT_EQ(columns[2].left(), columns[1].right() + 1);
    EXPECT_EQ(columns[2].bottomRight(), QPoint(610, 419));

    EXPECT_EQ(iconPlaces(QRect(0, 0, 250, 300), QSize(100, 30), 3),
              (QList<QPoint>{QPoint(0, 270), QPoint(100, 270), QPoint(0, 240)}));
    EXPECT_TRUE(iconPlaces(QRect(0, 0, 250, 300), QSize(0, 30), 2).isEmpty());
    EXPECT_EQ(iconPlaces(QRect(0, 0, 50, 300), QSize(100, 30), 2)[1], QPoint(0, 240));
}

} // namespace
