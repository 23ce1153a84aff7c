// The measurement window: where it opens, what it allows while the link
// is taken, the sampling it pauses and restores, and the board stopped
// however it closes.
#include "speed/ui/baudratewindow.h"
#include "speed/texts.h"

#include "link/linkowner.h"
#include "platform/ui/appearance.h"
#include "support/inprocessboard.h"

#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace ferrox;
using namespace ferrox::test;

namespace {

class BaudRateWindowTest : public testing::Test
{
protected:
    BaudRateWindowTest()
    {
        board.port().open();
        mainWindow.setGeometry(100, 80, 600, 500);
        mainWindow.show();
    }

    BaudRateWindow *openWindow()
    {
        auto *window = new BaudRateWindow(owner, {[this] { return captureRunning; }, [this] { return simpleMonitorOn; },
                                                  [this] { return sampling; }, [this](bool on) { sampling = on; }},
                                          &mainWindow);
        window->open();
        return window;
    }
    static QPushButton *button(QWidget *window, const char *name)
    {
        return window->findChild<QPushButton *>(QLatin1String(name));
    }
    static QString usable(QWidget *window)
    {
        QString out;
        for (const char *name : {"Cmd_Start", "Cmd_Stop", "Cmd_Close"})
            out += button(window, name)->isEnabled() ? u'1' : u'0';
        return out;
    }

    InProcessBoard board;
    LinkOwner owner{board.port()};
    QWidget mainWindow;
    bool captureRunning = false;
    bool simpleMonitorOn = false;
    bool sampling = true;
};

TEST_F(BaudRateWindowTest, OpensBesideTheMainWindowAndAllowsOnlyWhatTheLinkPermits)
{
    const struct {
        bool capture, simpleMonitor, samplingBefore;
        QString text;
        const char *usable;
    } rows[] = {
        {false, false, true, speedtext::instructions(), "101"},
        {true, false, false, speedtext::blockedByCapture(), "001"},
        {false, true, true, speedtext::blockedBySimpleMonitor(), "001"},
        {true, true, true, speedtext::blockedByCapture(), "001"},
    };
    for (const auto &row : rows) {
        captureRunning = row.capture;
        simpleMonitorOn = row.simpleMonitor;
        sampling = row.samplingBefore;
        QPointer<BaudRateWindow> window = openWindow();
        EXPECT_EQ(window->text(), row.text);
        EXPECT_EQ(usable(window), QLatin1String(row.usable));
        EXPECT_FALSE(sampling);
        EXPECT_EQ(window->frameGeometry().topLeft(),
                  mainWindow.frameGeometry().topLeft()
                      + QPoint(twipsToPixelsX(150, window), twipsToPixelsY(1500, window)));

        button(window, "Cmd_Close")->click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }, 3000));
        EXPECT_EQ(sampling, row.samplingBefore);
    }
    EXPECT_TRUE(board.port().written.isEmpty());
}

TEST_F(BaudRateWindowTest, AMeasurementShowsItsProgressAndResult)
{
    BaudRateWindow *window = openWindow();
    button(window, "Cmd_Start")->click();
    EXPECT_EQ(usable(window), QLatin1String("010"));
    EXPECT_TRUE(window->text().endsWith(QStringLiteral("測定回数： 0/50")));

    ASSERT_TRUE(QTest::qWaitFor([&] { return window->text().startsWith(QStringLiteral("モニターライン通信速度の測定結果")); }, 5000));
    EXPECT_EQ(window->text(), speedtext::result(QStringLiteral("    9600bps")));
    EXPECT_EQ(usable(window), QLatin1String("101"));
    EXPECT_EQ(board.port().written, QByteArray("ME"));
    window->close();
}

TEST_F(BaudRateWindowTest, StopOrClosingMidMeasurementStopsTheBoard)
{
    for (const bool closeWindow : {false, true}) {
        FakeSerialPort silentPort;
        silentPort.open();
        LinkOwner silentOwner(silentPort);
        QPointer<BaudRateWindow> window =
            new BaudRateWindow(silentOwner, {[] { return false; }, [] { return false; }, [this] { return sampling; },
                                             [this](bool on) { sampling = on; }},
                               &mainWindow);
        sampling = true;
        window->open();
        button(window, "Cmd_Start")->click();
        QTest::qWait(50);
        if (closeWindow) {
            window->close();
            ASSERT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }, 3000));
            EXPECT_TRUE(sampling);
        } else {
            button(window, "Cmd_Stop")->click();
            EXPECT_EQ(window->text(), speedtext::stopped());
            EXPECT_EQ(usable(window), QLatin1String("101"));
            delete window;
        }
        EXPECT_EQ(silentPort.written, QByteArray("ME")) << closeWindow;
    }
}

} // namespace
