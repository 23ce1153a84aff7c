// The window's load: geometry and settings panel from the settings store,
// with defaults on a first run.
#include "appfixture.h"

#include "app/base/mainsettings.h"
#include "app/base/windowplacement.h"
#include "app/ui/settingspanel.h"
#include "platform/ui/appearance.h"

#include <QCheckBox>
#include <QMenuBar>
#include <QScrollBar>

using namespace ferrox;
using namespace ferrox::test;

namespace {

TEST_F(AppTest, FirstRunIsLargeEnoughForItsContents)
{
    window().show();
    EXPECT_GE(window().width(), window().menuBar()->sizeHint().width());
    EXPECT_EQ(window().settingsPanel()->verticalScrollBar()->maximum(), 0);
}

// Stored choices are shown even when no item matches them (the monitored
// speed and the direction here).
TEST_F(AppTest, StoredSettingsAreShownAsStored)
{
    writeSettings("COM_Port=COM3\nCOM_speed=115200\nMonitor_speed=\" 14400\"\nDirection=J1\xe2\x86\x92J2\n"
                  "Display_mode=\xe3\x83\xa2\xe3\x83\xbc\xe3\x83\x89\x33 <HEX\xef\xbd\xa5\x43HAR>\n"
                  "RTS=1\nDTR=1\nMainLeft=2000\nMainTop=1500.5\nMainWidth=9000\nMainHeight=7000\n");
    const TwipsGeometry geometry{2000, 1500.5, 9000, 7000};
    MainWindow &shown = window();
    EXPECT_EQ(shown.pos(), QPoint(twipsToPixelsX(geometry.left, &shown), twipsToPixelsY(geometry.top, &shown)));
    EXPECT_EQ(shown.size(), QSize(twipsToPixelsX(geometry.width, &shown), twipsToPixelsY(geometry.height, &shown)));
    const SettingsPanel *panel = shown.settingsPanel();
    const std::tuple<const QComboBox *, QString, int> combos[] = {
        {panel->comPort(), QStringLiteral("COM3"), 2},
        {panel->pcSpeed(), QStringLiteral("115200"), 1},
        {panel->monitorSpeed(), QStringLiteral(" 14400"), -1},
        {panel->direction(), QStringLiteral("J1→J2"), -1},
        {panel->displayMode(), QStringLiteral("モード3 <HEX･CHAR>"), 2},
    };
    for (const auto &[combo, text, index] : combos) {
        EXPECT_EQ(combo->currentText(), text);
        EXPECT_EQ(combo->currentIndex(), index) << text.toStdString();
    }
    // A 115200 bps link offers the narrow table and the two fast speeds (the protocol's table).
    EXPECT_EQ(panel->monitorSpeed()->count(), 6);
    EXPECT_EQ(panel->monitorSpeed()->itemText(5), QStringLiteral(" 57600"));
    EXPECT_TRUE(panel->checkRts()->isChecked());
    EXPECT_TRUE(panel->checkDtr()->isChecked());
}

TEST(WindowPlacement, ReachablePlacesAreKeptOthersComeOntoAScreen)
{
    // Two screens side by side; the primary one has a panel 30 pixels high on top.
    const QList<QRect> screens = {QRect(0, 30, 1280, 994), QRect(1280, 0, 1920, 1080)};
    const QSize minimum(100, 50);
    struct Case { QRect wanted; QSize atLeast; QRect placed; };
    const Case cases[] = {
        {QRect(-300, 200, 800, 600), minimum, QRect(-300, 200, 800, 600)},      // partly off, still reachable
        {QRect(2000, 32000, 800, -5), minimum, QRect(480, 974, 800, 50)},       // below, and too small
        {QRect(32000, 32000, 32000, 32000), minimum, QRect(0, 30, 1280, 994)},  // huge
        {QRect(67, 67, 433, 433), QSize(790, 700), QRect(67, 67, 790, 700)},    // first run
    };
    for (const Case &c : cases)
        EXPECT_EQ(placeMainWindow(c.wanted, screens, c.atLeast), c.placed) << c.wanted.x() << "," << c.wanted.y();
}

} // namespace
