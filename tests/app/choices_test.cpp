// Each settings choice is stored the moment the user makes it, and only then.
#include "appfixture.h"

#include "app/ui/settingspanel.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QSignalSpy>

using namespace ferrox;
using namespace ferrox::test;
using namespace Qt::StringLiterals;

namespace {

TEST_F(AppTest, PickingFromAListOrClickingAnOptionStoresAtOnce)
{
    pick(find<QComboBox>(QStringLiteral("Combo_DisplayMode")), QStringLiteral("モード4 <EXCHANGE>"));
    EXPECT_EQ(stored(QStringLiteral("Display_mode")), QStringLiteral("モード4 <EXCHANGE>"));
    // The port is stored by the port handler once the port opens.
    pick(find<QComboBox>(QStringLiteral("Combo_Com_port")), QStringLiteral("COM5"));
    EXPECT_EQ(stored(QStringLiteral("COM_Port")), QStringLiteral("<missing>"));
    auto *box = find<QCheckBox>(QStringLiteral("Check_DTR"));
    for (const char *expected : {"1", "0"}) {
        box->click();
        EXPECT_EQ(stored(QStringLiteral("DTR")), QLatin1String(expected));
    }
}

TEST_F(AppTest, ProgramChangesStoreNothingAndLaterHandlersSeeTheUsersChoiceStored)
{
    SettingsPanel *panel = window().settingsPanel();
    panel->monitorSpeed()->setCurrentIndex(3);
    panel->checkRts()->setChecked(true);
    EXPECT_FALSE(QFile::exists(iniPath()));
    QString seen;
    QObject::connect(panel->monitorSpeed(), &QComboBox::activated, [&] { seen = stored(QStringLiteral("Monitor_speed")); });
    pick(panel->monitorSpeed(), QStringLiteral(" 28800"));
    EXPECT_EQ(seen, QStringLiteral(" 28800"));
}

TEST_F(AppTest, TypedTextIsStoredOnlyWhenItIsAnItemAndNeverCompletedOrAdded)
{
    const std::tuple<const char *, QString, const char *, QString> cases[] = {
        {"Combo_DisplayMode", QStringLiteral("モード"), "Display_mode", QStringLiteral("<missing>")},
        {"Combo_PC_speed", QStringLiteral("115200"), "COM_speed", QStringLiteral("115200")},
    };
    for (const auto &[name, typed, key, stores] : cases) {
        SCOPED_TRACE(typed.toStdString());
        auto *combo = find<QComboBox>(QLatin1String(name));
        const int items = combo->count();
        combo->lineEdit()->clear();
        // Typed as one key press carrying the whole text, as an input method delivers it.
        QTest::sendKeyEvent(QTest::Click, combo->lineEdit(), Qt::Key_unknown, typed, Qt::NoModifier);
        QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
        EXPECT_EQ(combo->currentText(), typed);
        EXPECT_EQ(combo->count(), items);
        EXPECT_EQ(stored(QLatin1String(key)), stores);
    }
}

// The port list is made anew as it opens, keeping the typed text; Return
// on a typed path not in the list is a choice; on other text it is not.
TEST_F(AppTest, OpeningThePortListKeepsTheTextAndReturnChoosesATypedPath)
{
    PortCombo *combo = window().settingsPanel()->comPort();
    combo->setEditText(u"/dev/ttyACM3"_s);
    combo->showPopup();
    EXPECT_EQ(combo->currentText(), u"/dev/ttyACM3"_s);
    combo->hidePopup();
    QSignalSpy entered(window().settingsPanel(), &SettingsPanel::devicePathEntered);
    for (const QString &text : {u"/dev/ttyACM3"_s, u"COM99"_s, u"COM2"_s}) {
        combo->setEditText(text);
        emit combo->lineEdit()->returnPressed();
    }
    EXPECT_EQ(entered.count(), 1);
}

// A check offers the firmware's lists, each showing its stored text; the
// data-width options, once offered, stay.
TEST_F(AppTest, ACheckOffersTheFirmwaresChoicesWithTheStoredTexts)
{
    writeSettings("Direction=J1\xe2\x86\x92J2\n");
    SettingsPanel *panel = window().settingsPanel();
    QAction *measure = menuItem(u"mnuRateMeasure"_s);
    ASSERT_TRUE(wireToBoard({.firmware = "V1.05"}));
    EXPECT_EQ(panel->direction()->count(), 3);
    EXPECT_EQ(panel->direction()->currentText(), u"J1→J2"_s);
    EXPECT_TRUE(measure->isEnabled());
    EXPECT_TRUE(panel->dataWidthFrame()->isEnabled());

    ASSERT_TRUE(wireToBoard({.firmware = "V1.01"}));
    EXPECT_EQ(panel->direction()->count(), 1);
    EXPECT_EQ(panel->direction()->currentText(), u"J1→J2"_s);
    EXPECT_FALSE(measure->isEnabled());
    EXPECT_TRUE(panel->dataWidthFrame()->isEnabled());
}

} // namespace
