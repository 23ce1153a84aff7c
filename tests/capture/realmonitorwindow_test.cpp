#include "capture/liveappender.h"
#include "capture/ui/realmonitorwindow.h"

#include "platform/ui/appearance.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace ferrox;

TEST(RealMonitorWindow, OpensAtTheAreasBottomLeftShowsBatchesAndReportsItsClosing)
{
    QMdiArea area;
    area.resize(900, 600);
    area.show();
    LiveTextAppender appender(16);
    QMdiSubWindow *child = RealMonitorWindow::open(&area, appender);
    auto *window = qobject_cast<RealMonitorWindow *>(child->widget());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->objectName(), QStringLiteral("frmRealMonitor"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("簡易モニターウインドウ"));
    EXPECT_EQ(child->size(), QSize(twipsToPixelsX(7800, &area), twipsToPixelsY(1500, &area)));
    EXPECT_EQ(child->x(), 0);
    EXPECT_EQ(child->y(), area.viewport()->height() - window->height() - twipsToPixelsY(450, &area));

    // The user's caret does not move where live text goes.
    appender.append(QStringLiteral(" 41 0D"));
    appender.flush();
    window->textView()->moveCursor(QTextCursor::Start);
    appender.append(QStringLiteral("A[CR_]"));
    appender.flush();
    EXPECT_EQ(window->textView()->toPlainText(), QStringLiteral(" 41 0DA[CR_]"));
    appender.append(QStringLiteral("[err]"));
    appender.flush();
    EXPECT_EQ(window->textView()->toPlainText(), QStringLiteral("DA[CR_][err]"));

    QSignalSpy closed(window, &RealMonitorWindow::closed);
    child->close();
    EXPECT_EQ(closed.count(), 1);
}
