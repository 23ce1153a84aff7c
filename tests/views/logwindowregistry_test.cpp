#include "views/logwindow.h"
#include "views/logwindowregistry.h"

#include "viewfakes.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace ferrox;
using ferrox::test::RecordingStatus;

namespace {

struct FakeLogWindow : LogWindow
{
    explicit FakeLogWindow(qint32 n) : n(n) {}
    qint32 number() const override { return n; }
    QString caption() const override { return title; }
    void setCaption(const QString &c) override { title = c; }
    void appendText(const QString &t) override { text += t; }
    void replaceText(const QString &t) override { text = t; }
    void setBackground(const QColor &c) override { background = c; }
    void setRightMargin(double) override {}
    void loadText(const QByteArray &, Format, std::function<void()> shown) override { if (shown) shown(); }
    bool isLoading() const override { return false; }
    qint32 n;
    QString title;
    QString text;
    QColor background;
};

struct FakeFactory : LogWindowFactory
{
    LogWindow *createLogWindow(qint32 number) override
    {
        windows.push_back(std::make_unique<FakeLogWindow>(number));
        return windows.back().get();
    }
    std::vector<std::unique_ptr<FakeLogWindow>> windows;
};

struct FakeListener : LogWindowListener
{
    void showOpenLogWindowCount(qint32 count) override { label = count; }
    void setLogTextCommandsEnabled(bool enabled) override { commandsEnabled = enabled; }
    qint32 label = -1;
    bool commandsEnabled = false;
};

// Stands in for the capture until it arrives: records stop requests and,
// like the real stop, whitens the newest window while it is still open.
struct FakeCapture : RunningCapture
{
    explicit FakeCapture(LogWindowRegistry &r) : registry(r) {}
    bool captureRunning() const override { return running; }
    void StopMonitor() override
    {
        ++stops;
        if (LogWindow *w = registry.newest())
            w->setBackground(Qt::white);
    }
    LogWindowRegistry &registry;
    bool running = false;
    int stops = 0;
};

class Registry : public testing::Test
{
protected:
    Registry() { registry.setListener(&listener); }
    FakeFactory factory;
    RecordingStatus status;
    LogWindowRegistry registry{factory, status};
    FakeListener listener;
};

// Numbering through real windows is tested with the log windows' commands.
TEST_F(Registry, NumbersHaveNoUpperBound)
{
    EXPECT_EQ(registry.newest(), nullptr);
    for (int n = 1; n <= 2100; ++n)
        registry.windowClosed(registry.NewLogWindow()->number());
    EXPECT_EQ(registry.CurrentLogWindow(), 2100);
    EXPECT_EQ(registry.NewLogWindow()->number(), 2101);
    EXPECT_EQ(registry.OpenLogWindowCount(), 1);
    EXPECT_EQ(registry.LogWindows(2100), nullptr);
    EXPECT_EQ(registry.newest(), registry.LogWindows(2101));
}

TEST_F(Registry, CountLabelAndTextCommandsFollowOpenWindows)
{
    EXPECT_EQ(registry.OpenLogWindowCount(), 0);
    registry.NewLogWindow();
    EXPECT_EQ(listener.label, 1);
    EXPECT_TRUE(listener.commandsEnabled);
    registry.NewLogWindow();
    EXPECT_EQ(listener.label, 2);
    registry.windowClosed(1);
    EXPECT_EQ(listener.label, 1);
    EXPECT_TRUE(listener.commandsEnabled);
    registry.windowClosed(1); // a second close of the same window counts nothing
    EXPECT_EQ(registry.OpenLogWindowCount(), 1);
    registry.windowClosed(2);
    EXPECT_EQ(listener.label, 0);
    EXPECT_FALSE(listener.commandsEnabled);
    registry.NewLogWindow();
    EXPECT_TRUE(listener.commandsEnabled);
    EXPECT_TRUE(status.texts.isEmpty()); // closing without a capture hook says nothing
}

TEST_F(Registry, DestroyedWindowsAreForgottenWithoutNotice)
{
    registry.NewLogWindow();
    registry.NewLogWindow();
    listener.label = -1;
    registry.windowDestroyed(1);
    EXPECT_EQ(listener.label, -1);
    EXPECT_EQ(registry.OpenLogWindowCount(), 1);
    EXPECT_EQ(registry.LogWindows(1), nullptr);
}

struct CancelCase
{
    const char *name;
    bool running;
    qint32 closed; // of windows 1 and 2; 2 is the newest
    bool stops;
};

class CaptureCancel : public Registry, public testing::WithParamInterface<CancelCase>
{
};

TEST_P(CaptureCancel, OnlyClosingTheNewestWindowDuringACaptureStopsIt)
{
    FakeCapture capture(registry);
    registry.setRunningCapture(&capture);
    registry.NewLogWindow();
    registry.NewLogWindow();
    capture.running = GetParam().running;
    auto *closing = static_cast<FakeLogWindow *>(registry.LogWindows(GetParam().closed));
    registry.windowClosed(GetParam().closed);
    EXPECT_EQ(capture.stops, GetParam().stops ? 1 : 0);
    if (GetParam().stops) {
        EXPECT_EQ(status.texts.last(), QStringLiteral("モニターがキャンセルされました。"));
        EXPECT_EQ(closing->background, QColor(Qt::white)); // stopped while still open
    } else {
        EXPECT_TRUE(status.texts.isEmpty());
    }
    EXPECT_EQ(registry.OpenLogWindowCount(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Closes, CaptureCancel,
    testing::Values(CancelCase{"NewestDuringCapture", true, 2, true},
                    CancelCase{"OlderDuringCapture", true, 1, false},
                    CancelCase{"NewestWithoutCapture", false, 2, false}),
    [](const testing::TestParamInfo<CancelCase> &info) { return std::string(info.param.name); });

} // namespace
