// The toolbar's buttons show the style's standard images, looked up only
// when first drawn.
#include "app/ui/maintoolbar.h"

#include <QAction>
#include <QImage>
#include <QStyle>
#include <gtest/gtest.h>

using namespace ferrox;

TEST(MainToolBar, ButtonsShowTheStylesStandardImages)
{
    MainToolBar bar;
    // Every button's image comes through one engine; which image each shows is a table in the code.
    const QIcon standard = bar.style()->standardIcon(QStyle::SP_MediaPlay);
    for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled}) {
        EXPECT_EQ(bar.start()->icon().pixmap(QSize(24, 24), mode).toImage(), standard.pixmap(QSize(24, 24), mode).toImage())
            << "mode " << mode;
    }
}
