// Each settings choice is stored the moment the user makes it, and only then.
#include "appfixture.h"

#include "app/ui/settingspanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

using namespace ferrox;
using namespace ferrox::test;

namespace {

TEST_F(AppTest, PickingFromAListStoresItsTextAtOnce)
{
    const std::tuple<const char *, QString, const char *, QString> choices[] = {
        {"Combo_PC_speed", QStringLiteral("115200"), "COM_speed", QStringLiteral("115200")},
        {"Combo_DisplayMode", QStringLiteral("モード4 <EXCHANGE>"), "Display_mode", QStringLiteral("モード4 <EXCHANGE>")},
        // The port is stored by the port handler once the port opens.
        {"Combo_Com_port", QStringLiteral("COM5"), "COM_Port", QStringLiteral("<missing>")},
    };
    for (const auto &[combo, item, key, stores] : choices) {
        SCOPED_TRACE(combo);
        pick(find<QComboBox>(QLatin1String(combo)), item);
        EXPECT_EQ(stored(QLatin1String(key)), stores);
    }
}

TEST_F(AppTest, LinkOptionClicksStoreZeroOrOne)
{
    for (const auto &[name, key] : {std::pair{"Check_DTR", "DTR"}, std::pair{"Check_RTS", "RTS"}}) {
        SCOPED_TRACE(name);
        auto *box = find<QCheckBox>(QLatin1String(name));
        box->click();
        EXPECT_EQ(stored(QLatin1String(key)), QStringLiteral("1"));
        box->click();
        EXPECT_EQ(stored(QLatin1String(key)), QStringLiteral("0"));
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
        {"Combo_Com_port", QStringLiteral("com1"), "COM_Port", QStringLiteral("<missing>")},
        {"Combo_PC_speed", QStringLiteral("115200"), "COM_speed", QStringLiteral("115200")},
    };
    for (const auto &[name, typed, key, stores] : cases) {
        SCOPED_TRACE(typed.toStdString());
        auto *combo = find<QComboBox>(QLatin1String(name));
        const int items = combo->count();
        combo->lineEdit()->clear();
        // Typed as one key press carrying the whole text, as an input method delivers it.
        QTest::sendKeyEvent(QTest::Click, combo->lineEdit(), Qt::Key_unknown, typed, Qt::NoModifier);
        EXPECT_EQ(combo->currentText(), typed);
        QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
        EXPECT_EQ(combo->currentText(), typed);
        EXPECT_EQ(combo->count(), items);
        EXPECT_EQ(stored(QLatin1String(key)), stores);
    }
}

} // namespace
