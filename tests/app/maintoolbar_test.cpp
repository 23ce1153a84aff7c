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
    const std::pair<QAction *, QStyle::StandardPixmap> buttons[] = {
        {bar.start(), QStyle::SP_MediaPlay},
        {bar.stop(), QStyle::SP_MediaStop},
        {bar.settings(), QStyle::SP_FileDialogDetailedView},
        {bar.simpleMonitor(), QStyle::SP_ComputerIcon}};
    for (const auto &[action, which] : buttons) {
        const QIcon standard = bar.style()->standardIcon(which);
        for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled}) {
            EXPECT_EQ(action->icon().pixmap(QSize(24, 24), mode).toImage(), standard.pixmap(QSize(24, 24), mode).toImage())
                << action->objectName().toStdString() << " mode " << mode;
        }
    }
}
