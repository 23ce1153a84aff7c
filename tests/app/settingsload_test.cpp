// The window's load: geometry and settings panel from the settings store,
// with defaults on a first run and on damaged values.
#include "appfixture.h"

#include "app/mainsettings.h"
#include "app/ui/settingspanel.h"
#include "platform/ui/appearance.h"

#include <QCheckBox>
#include <QComboBox>
#include <QMenuBar>
#include <QScreen>
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
const QStringList Modes = {QStringLiteral("モード1 <HEX>"), QStringLiteral("モード2 <ASCII>"),
                           QStringLiteral("モード3 <HEX･CHAR>"), QStringLiteral("モード4 <EXCHANGE>"),
                           QStringLiteral("モード5 <SAVE>")};

void expectGeometryTwips(const MainWindow &window, double left, double top, double width, double height)
{
    EXPECT_EQ(window.x(), twipsToPixelsX(left, &window));
    EXPECT_EQ(window.y(), twipsToPixelsY(top, &window));
    EXPECT_EQ(window.width(), twipsToPixelsX(width, &window));
    EXPECT_EQ(window.height(), twipsToPixelsY(height, &window));
}

TEST_F(AppTest, FirstRunShowsTheDefaultsAndStoresNothing)
{
    // At the default place, large enough for the whole menu bar and settings panel.
    window().show();
    EXPECT_EQ(window().pos(), QPoint(twipsToPixelsX(1000, &window()), twipsToPixelsY(1000, &window())));
    EXPECT_GE(window().width(), window().menuBar()->sizeHint().width());
    EXPECT_EQ(window().settingsPanel()->verticalScrollBar()->maximum(), 0);
    const SettingsPanel *panel = window().settingsPanel();
    EXPECT_EQ(panel->comPort()->currentText(), QStringLiteral("COM1"));
    EXPECT_EQ(panel->pcSpeed()->currentText(), QStringLiteral(" 57600"));
    EXPECT_EQ(panel->monitorSpeed()->currentText(), QStringLiteral("  9600"));
    EXPECT_EQ(panel->direction()->currentText(), QStringLiteral("双方向"));
    // The full-width default is no item: it stays as typed text.
    EXPECT_EQ(panel->displayMode()->currentText(), QStringLiteral("モード１"));
    EXPECT_EQ(panel->displayMode()->currentIndex(), -1);
    EXPECT_FALSE(panel->checkDtr()->isChecked());
    EXPECT_FALSE(panel->checkRts()->isChecked());

    // The machine's serial devices follow the twenty numbered ports.
    EXPECT_EQ(itemsOf(panel->comPort()).at(19), QStringLiteral("COM20"));
    EXPECT_EQ(itemsOf(panel->pcSpeed()), (QStringList{QStringLiteral(" 57600"), QStringLiteral("115200")}));
    EXPECT_EQ(itemsOf(panel->monitorSpeed()), SlowSpeeds);
    EXPECT_EQ(itemsOf(panel->direction()), QStringList{QStringLiteral("双方向")});
    EXPECT_EQ(itemsOf(panel->displayMode()), Modes);

    EXPECT_FALSE(QFile::exists(iniPath()));
}

TEST_F(AppTest, StoredChoicesAreShownEvenWhenNoItemMatches)
{
    writeSettings("COM_Port=COM3\nCOM_speed=115200\nMonitor_speed=\" 14400\"\n"
                  "Direction=J1\xe2\x86\x92J2\nDisplay_mode=\xe3\x83\xa2\xe3\x83\xbc\xe3\x83\x89\x33 <HEX\xef\xbd\xa5\x43HAR>\n"
                  "RTS=1\nDTR=1\nMainLeft=2000\nMainTop=1500.5\nMainWidth=9000\nMainHeight=7000\n");
    expectGeometryTwips(window(), 2000, 1500.5, 9000, 7000);
    const SettingsPanel *panel = window().settingsPanel();
    EXPECT_EQ(panel->comPort()->currentText(), QStringLiteral("COM3"));
    EXPECT_EQ(panel->comPort()->currentIndex(), 2);
    EXPECT_EQ(panel->pcSpeed()->currentText(), QStringLiteral("115200"));
    EXPECT_EQ(panel->monitorSpeed()->currentText(), QStringLiteral(" 14400"));
    EXPECT_EQ(panel->monitorSpeed()->currentIndex(), -1);
    EXPECT_EQ(itemsOf(panel->monitorSpeed()), FastSpeeds);
    EXPECT_EQ(panel->direction()->currentText(), QStringLiteral("J1→J2"));
    EXPECT_EQ(panel->displayMode()->currentText(), QStringLiteral("モード3 <HEX･CHAR>"));
    EXPECT_EQ(panel->displayMode()->currentIndex(), 2);
    EXPECT_TRUE(panel->checkRts()->isChecked());
    EXPECT_TRUE(panel->checkDtr()->isChecked());
}

TEST_F(AppTest, MonitorSpeedListFollowsTheShownLinkSpeed)
{
    for (const auto &[pcSpeed, speeds] : {std::pair{QStringLiteral("115200"), FastSpeeds},
                                          {QStringLiteral(" 115200"), SlowSpeeds}, {QString(), SlowSpeeds}})
        EXPECT_EQ(monitorSpeedsBeforeCheck(pcSpeed), speeds) << pcSpeed.toStdString();
}

TEST_F(AppTest, GarbageSettingsStartWithDefaultNumbersAndTheStoredTexts)
{
    writeSettings("MainLeft=abc\nMainTop=\nMainWidth=1e99999\nMainHeight=nan\nRTS=yes\nDTR=2\n"
                  "COM_Port=COM99x\nCOM_speed=fast\nMonitor_speed=\"\"\nDirection=\"a,b\"\n"
                  "Display_mode=\\x1\n");
    EXPECT_EQ(loadMainGeometry(window().settings()), TwipsGeometry());
    const SettingsPanel *panel = window().settingsPanel();
    EXPECT_EQ(panel->comPort()->currentText(), QStringLiteral("COM99x"));
    EXPECT_EQ(panel->pcSpeed()->currentText(), QStringLiteral("fast"));
    EXPECT_EQ(panel->monitorSpeed()->currentText(), QString());
    EXPECT_EQ(itemsOf(panel->monitorSpeed()), SlowSpeeds);
    EXPECT_EQ(panel->direction()->currentText(), QStringLiteral("a,b"));
    EXPECT_FALSE(panel->checkRts()->isChecked());
    EXPECT_FALSE(panel->checkDtr()->isChecked());
}

TEST_F(AppTest, DamagedStoredGeometryOpensTheWindowOnTheScreen)
{
    writeSettings("MainLeft=-99999999999\nMainTop=1e30\nMainWidth=1e30\nMainHeight=-3e38\n");
    window().show();
    EXPECT_TRUE(window().screen()->availableGeometry().contains(window().geometry().topLeft()));
}

TEST_F(AppTest, LinkOptionValuesOtherThanOneLeaveTheBoxUnchecked)
{
    for (const auto &[value, checked] : {std::pair{" 1 ", true}, {"2", false}, {"-1", false}, {"", false}}) {
        QtSettingsStore store(iniPath());
        ProgramSettings settings(store);
        for (const QString &key : {QStringLiteral("RTS"), QStringLiteral("DTR")})
            settings.save(key, QString::fromLatin1(value));
        const PanelSettings loaded = loadPanelSettings(settings);
        EXPECT_EQ(std::pair(loaded.rts, loaded.dtr), std::pair(checked, checked)) << value;
    }
}

} // namespace
