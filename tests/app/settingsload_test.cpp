// The window's load: geometry and settings panel from the settings store,
// with defaults on a first run and on damaged values.
#include "appfixture.h"

#include "app/mainsettings.h"
#include "app/windowplacement.h"
#include "app/ui/settingspanel.h"
#include "platform/ui/appearance.h"

#include <QCheckBox>
#include <QComboBox>
#include <QMenuBar>
#include <QScrollBar>

using namespace ferrox;
using namespace ferrox::test;

namespace {

QStringList itemsOf(const QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

const QStringList SlowSpeeds = {QStringLiteral("  4800"), QStringLiteral("  9600"), QStringLiteral(" 19200"),
                                QStringLiteral(" 28800")};
const QStringList FastSpeeds = SlowSpeeds + QStringList{QStringLiteral(" 38400"), QStringLiteral(" 57600")};

TEST_F(AppTest, FirstRunIsLargeEnoughForItsContentsAndStoresNothing)
{
    window().show();
    EXPECT_GE(window().width(), window().menuBar()->sizeHint().width());
    EXPECT_EQ(window().settingsPanel()->verticalScrollBar()->maximum(), 0);
    EXPECT_FALSE(QFile::exists(iniPath()));
}

// Stored choices are shown even when no item matches; damaged numbers fall
// back to the defaults, damaged texts are shown as they were stored.
TEST_F(AppTest, StoredSettingsAreShownAsStoredAndDamagedNumbersAsDefaults)
{
    const struct
    {
        const char *name;
        QByteArray lines;
        TwipsGeometry geometry;
        QString texts; // port, link speed, monitor speed, direction, display mode joined by '|'
        QList<int> indexes;
        bool linkOptions;
    } cases[] = {
        {"stored", "COM_Port=COM3\nCOM_speed=115200\nMonitor_speed=\" 14400\"\nDirection=J1\xe2\x86\x92J2\n"
                   "Display_mode=\xe3\x83\xa2\xe3\x83\xbc\xe3\x83\x89\x33 <HEX\xef\xbd\xa5\x43HAR>\n"
                   "RTS=1\nDTR=1\nMainLeft=2000\nMainTop=1500.5\nMainWidth=9000\nMainHeight=7000\n",
         {2000, 1500.5, 9000, 7000}, QStringLiteral("COM3|115200| 14400|J1→J2|モード3 <HEX･CHAR>"), {2, 1, -1, -1, 2}, true},
        {"garbage", "MainLeft=abc\nMainTop=\nMainWidth=1e99999\nMainHeight=nan\nRTS=yes\nDTR=2\n"
                    "COM_Port=COM99x\nCOM_speed=fast\nMonitor_speed=\"\"\nDirection=\"a,b\"\nDisplay_mode=\\x1\n",
         {}, QStringLiteral("COM99x|fast||a,b|\x01"), {-1, -1, -1, -1, -1}, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        writeSettings(c.lines);
        MainWindow &shown = window();
        EXPECT_EQ(loadMainGeometry(shown.settings()), c.geometry);
        EXPECT_EQ(shown.pos(), QPoint(twipsToPixelsX(c.geometry.left, &shown), twipsToPixelsY(c.geometry.top, &shown)));
        // The stored size; a default one grows to fit the contents.
        EXPECT_TRUE(!c.linkOptions || shown.size() == QSize(twipsToPixelsX(c.geometry.width, &shown),
                                                            twipsToPixelsY(c.geometry.height, &shown)));
        const SettingsPanel *panel = shown.settingsPanel();
        const QComboBox *combos[] = {panel->comPort(), panel->pcSpeed(), panel->monitorSpeed(), panel->direction(),
                                     panel->displayMode()};
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(combos[i]->currentText(), c.texts.split(u'|')[i]) << i;
            EXPECT_EQ(combos[i]->currentIndex(), c.indexes[i]) << i;
        }
        EXPECT_EQ(itemsOf(panel->monitorSpeed()), c.linkOptions ? FastSpeeds : SlowSpeeds);
        EXPECT_EQ(panel->checkRts()->isChecked() && panel->checkDtr()->isChecked(), c.linkOptions);
        resetWindow();
    }
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
