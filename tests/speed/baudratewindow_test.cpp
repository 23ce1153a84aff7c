// The measurement window: where it opens, what it allows while the link
// is taken, the sampling it pauses and restores, and the board stopped when it closes mid-measurement.
#include "speed/texts.h"
#include "speed/ui/baudratewindow.h"

#include "link/linkowner.h"
#include "platform/ui/appearance.h"
#include "support/fakeserialport.h"

#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace ferrox;
using namespace ferrox::test;

namespace {

// The Start, Stop and Close buttons' enables as "1" and "0".
QString usable(QWidget *window)
{
    QString out;
    for (const char *name : {"Cmd_Start", "Cmd_Stop", "Cmd_Close"})
        out += window->findChild<QPushButton *>(QLatin1String(name))->isEnabled() ? u'1' : u'0';
    return out;
}

TEST(BaudRateWindowTest, OpensBesideTheMainWindowAllowsOnlyWhatTheLinkPermitsAndStopsTheBoardOnClose)
{
    FakeSerialPort port; // a board that never answers
    port.open();
    LinkOwner owner{port};
    bool sampling = true; // outlives the windows, which restore it
    QWidget mainWindow;
    mainWindow.setGeometry(100, 80, 600, 500);
    mainWindow.show();
    const struct { bool capture, simpleMonitor, samplingBefore; QString text; const char *usable; } rows[] = {
        {true, false, false, speedtext::blockedByCapture(), "001"},
        {false, true, true, speedtext::blockedBySimpleMonitor(), "001"},
        {false, false, true, speedtext::instructions(), "101"}};
    for (const auto &row : rows) {
        sampling = row.samplingBefore;
        QPointer<BaudRateWindow> window = new BaudRateWindow(owner, {[c = row.capture] { return c; }, [m = row.simpleMonitor] { return m; },
                                                                     [&] { return sampling; }, [&](bool on) { sampling = on; }},
                                                             &mainWindow);
        window->open();
        EXPECT_EQ(window->text(), row.text);
        EXPECT_EQ(usable(window), QLatin1String(row.usable));
        EXPECT_FALSE(sampling);
        EXPECT_EQ(window->frameGeometry().topLeft(),
                  mainWindow.frameGeometry().topLeft() + QPoint(twipsToPixelsX(150, window), twipsToPixelsY(1500, window)));
        if (row.usable[0] == '1') {
            window->findChild<QPushButton *>(QStringLiteral("Cmd_Start"))->click();
            EXPECT_EQ(usable(window), QLatin1String("010"));
            // While it measures Escape does not end it.
            QTest::keyClick(window, Qt::Key_Escape);
            EXPECT_TRUE(window->isVisible());
            // Closed mid-measurement, the board is told to stop.
            window->close();
        } else {
            QTest::keyClick(window, Qt::Key_Escape);
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }, 3000));
        EXPECT_EQ(sampling, row.samplingBefore);
    }
    EXPECT_EQ(port.written, QByteArray("ME"));
}

} // namespace
