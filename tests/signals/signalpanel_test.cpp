#include "signals/signalsampler.h"
#include "signals/ui/signalpanel.h"

#include "link/linkowner.h"
#include "link/linktesting.h"
#include "link/protocol.h"
#include "platform/ui/appearance.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace ferrox;
using namespace ferrox::test;

TEST(SignalPanel, ShowsTheSamplersLampsIndicatorAndPanelState)
{
    FakeSerialPort port;
    ScriptedBoard board(port);
    LinkOwner owner(port);
    RecordingStatus status;
    SignalSampler sampler(owner, status);
    SignalPanel panel;
    panel.setSampler(&sampler);

    const auto showing = [&](int lamp, const char *reference) {
        return panel.lamp(lamp)->pixmap().toImage()
            == panel.findChild<QLabel *>(QLatin1String(reference))->pixmap().toImage();
    };
    const auto indicator = [&] { return panel.indicator()->palette().color(QPalette::Window); };
    EXPECT_TRUE(showing(0, "Pic_glay"));
    EXPECT_EQ(indicator(), buttonFaceColor());

    board.answer(CMD_SIGNALS, {QByteArray("\xFE\x00", 2)});
    sampler.tick();
    EXPECT_EQ(indicator(), QColor(0, 255, 0));
    // The flash outlasts a quick answer, then ends.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !sampler.indicatorLit(); }, 2000));
    EXPECT_EQ(indicator(), QColor(0, 255, 0));
    EXPECT_TRUE(QTest::qWaitFor([&] { return indicator() == buttonFaceColor(); }, 1000));
    EXPECT_TRUE(showing(0, "Pic_red"));
    EXPECT_TRUE(showing(1, "Pic_blk"));

    sampler.DisableSignalPanel();
    EXPECT_TRUE(showing(0, "Pic_glay"));
    EXPECT_FALSE(panel.readButton()->isEnabled());
    EXPECT_FALSE(panel.lampLabel(7)->isEnabled());
    sampler.EnableSignalPanel();
    EXPECT_TRUE(panel.signalLabel()->isEnabled());

    QSignalSpy read(&panel, &SignalPanel::readRequested);
    QSignalSpy help(&panel, &SignalPanel::indicatorHelpRequested);
    panel.readButton()->click();
    QTest::mouseClick(panel.indicator(), Qt::LeftButton);
    EXPECT_EQ(read.count(), 1);
    EXPECT_EQ(help.count(), 1);
}
