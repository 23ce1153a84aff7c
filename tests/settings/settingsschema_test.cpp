#include "settings/settingsschema.h"

#include "support/fakestores.h"

#include <gtest/gtest.h>

using namespace ferrox;
using namespace ferrox::test;
using namespace Qt::StringLiterals;

namespace {

// Stores text under key, then reads it back through the store.
class Stored : public testing::Test
{
protected:
    QString roundTrip(const SettingKey &key, const QString &text)
    {
        storeText(settings, key, text);
        return storedText(settings, key);
    }

    MemorySettingsStore store;
    ProgramSettings settings{store};
};

TEST_F(Stored, EveryItemComesBackAsItself)
{
    for (int speed : linkSpeedChoices())
        EXPECT_EQ(linkSpeedOf(roundTrip(settingkey::linkSpeed(), speedText(speed))), speed) << speed;
    for (int speed : monitorSpeedChoices())
        EXPECT_EQ(monitorSpeedOf(roundTrip(settingkey::monitorSpeed(), speedText(speed))), speed) << speed;
    for (MonitorDirection direction : directionChoices())
        EXPECT_EQ(directionOf(roundTrip(settingkey::direction(), directionText(direction))), direction);
    for (qint32 mode = 1; mode <= DisplayModeCount; ++mode)
        EXPECT_EQ(displayModeNumberOf(roundTrip(settingkey::displayMode(), displayModeText(mode))), mode);
    for (bool checked : {false, true})
        EXPECT_EQ(checkedOf(roundTrip(settingkey::rts(), checkText(checked))), checked);
}

// An empty store reads as a first run, and as the value's own defaults
// (each key's text read into its choice: the first run's "モード１" is mode 1).
TEST_F(Stored, MissingKeysReadAsTheDefaults)
{
    const MonitorSettings defaults;
    EXPECT_EQ(storedText(settings, settingkey::displayMode()), u"モード１"_s);
    EXPECT_EQ(firstRunSettings(), defaults);
    EXPECT_EQ(storedSettings(settings), defaults);
    EXPECT_TRUE(store.values.isEmpty());
}

// A text is an item only when it is one exactly (the directions as
// existing files hold them); everything else is a choice that is not
// valid, and is kept as it was stored.
TEST_F(Stored, OnlyAnItemsExactTextNamesIt)
{
    for (const QString &text : {u"9600"_s, u"  9600 "_s, u" 14401"_s, u"115200"_s, QString()})
        EXPECT_EQ(monitorSpeedOf(roundTrip(settingkey::monitorSpeed(), text)), std::nullopt) << text.toStdString();
    for (const QString &text : {u"57600"_s, u" 9600"_s, u"fast"_s})
        EXPECT_EQ(linkSpeedOf(roundTrip(settingkey::linkSpeed(), text)), std::nullopt) << text.toStdString();
    const QList<std::pair<QString, std::optional<MonitorDirection>>> directions{
        {u"J1→J2"_s, MonitorDirection::J1ToJ2}, {u"J1←J2"_s, MonitorDirection::J2ToJ1}, {u" 双方向"_s, std::nullopt},
        {u"J1->J2"_s, std::nullopt},           {u"j1→j2"_s, std::nullopt},           {u"J2→J1"_s, std::nullopt}};
    for (const auto &[text, direction] : directions)
        EXPECT_EQ(directionOf(roundTrip(settingkey::direction(), text)), direction) << text.toStdString();
    EXPECT_EQ(store.program(u"Direction"_s), u"J2→J1"_s);
}

TEST_F(Stored, EachKeyIsReadIntoItsChoice)
{
    for (const auto &[key, text] : {std::pair{u"COM_Port"_s, u"/dev/ttyUSB0"_s}, {u"COM_speed"_s, u"115200"_s},
                                    {u"Monitor_speed"_s, u"fast"_s}, {u"Direction"_s, u"J1←J2"_s},
                                    {u"Display_mode"_s, u"モード３"_s}, {u"DTR"_s, u"1"_s}})
        settings.save(key, text);
    const MonitorSettings expected{.port = u"/dev/ttyUSB0"_s, .linkSpeed = 115200, .monitoredSpeed = std::nullopt,
                                   .direction = MonitorDirection::J2ToJ1, .dtr = true, .displayMode = 3};
    EXPECT_EQ(storedSettings(settings), expected);
}

TEST_F(Stored, DisplayModeIsTheFourthCharacterAsADigit)
{
    const QList<std::pair<QString, qint32>> cases{
        {u"モード５"_s, 5}, {u"モード4"_s, 4}, {u"モードX <HEX>"_s, 0}, {u"モード"_s, 0}, {u"\\x1"_s, 0}};
    for (const auto &[text, mode] : cases)
        EXPECT_EQ(displayModeNumberOf(roundTrip(settingkey::displayMode(), text)), mode) << text.toStdString();
}

TEST_F(Stored, OnlyOneIsChecked)
{
    const QList<std::pair<QString, bool>> cases{{u" 1"_s, true}, {u"01"_s, true}, {u"2"_s, false}, {u"yes"_s, false}, {QString(), false}};
    for (const auto &[text, checked] : cases)
        EXPECT_EQ(checkedOf(roundTrip(settingkey::dtr(), text)), checked) << text.toStdString();
}

} // namespace
