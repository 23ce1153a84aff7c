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

// What the list does when the user picks an item.
void pick(QComboBox *combo, const QString &text)
{
    const int index = combo->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

struct ComboChoice
{
    const char *combo;
    QString item;
    const char *key;
};

TEST_F(AppTest, PickingFromAListStoresItsTextAtOnce)
{
    const QList<ComboChoice> choices = {
        {"Combo_PC_speed", QStringLiteral("115200"), "COM_speed"},
        {"Combo_Monitor_speed", QStringLiteral(" 19200"), "Monitor_speed"},
        {"Combo_Direction", QStringLiteral("双方向"), "Direction"},
        {"Combo_DisplayMode", QStringLiteral("モード4 <EXCHANGE>"), "Display_mode"},
        {"Combo_DisplayMode", QStringLiteral("モード2 <ASCII>"), "Display_mode"},
    };
    for (const ComboChoice &choice : choices) {
        SCOPED_TRACE(choice.combo);
        pick(find<QComboBox>(QLatin1String(choice.combo)), choice.item);
        EXPECT_EQ(stored(QLatin1String(choice.key)), choice.item);
    }
}

TEST_F(AppTest, HandlersConnectedLaterSeeTheChoiceAlreadyStored)
{
    auto *combo = window().settingsPanel()->monitorSpeed();
    QString seen;
    QObject::connect(combo, &QComboBox::activated, [&] { seen = stored(QStringLiteral("Monitor_speed")); });
    pick(combo, QStringLiteral(" 28800"));
    EXPECT_EQ(seen, QStringLiteral(" 28800"));
}

TEST_F(AppTest, PortChoiceIsLeftToThePortHandler)
{
    pick(window().settingsPanel()->comPort(), QStringLiteral("COM5"));
    EXPECT_EQ(stored(QStringLiteral("COM_Port")), QStringLiteral("<missing>"));
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

TEST_F(AppTest, SettingTextsByProgramStoresNothing)
{
    SettingsPanel *panel = window().settingsPanel();
    panel->monitorSpeed()->setCurrentIndex(3);
    panel->checkRts()->setChecked(true);
    for (const char *key : {"Monitor_speed", "RTS"})
        EXPECT_EQ(stored(QLatin1String(key)), QStringLiteral("<missing>")) << key;
}

TEST_F(AppTest, TypedTextIsNeitherStoredNorAdded)
{
    QComboBox *combo = window().settingsPanel()->displayMode();
    const int items = combo->count();
    for (const QString &typed : {QStringLiteral("モード9"), QStringLiteral("モード"), QStringLiteral("モード1 <hex>")}) {
        SCOPED_TRACE(typed.toStdString());
        combo->lineEdit()->setText(typed);
        QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
        EXPECT_EQ(combo->currentText(), typed);
        EXPECT_EQ(combo->count(), items);
        EXPECT_EQ(stored(QStringLiteral("Display_mode")), QStringLiteral("<missing>"));
    }
}

TEST_F(AppTest, TypedTextIsNotCompletedToAnItem)
{
    QComboBox *combo = window().settingsPanel()->comPort();
    combo->lineEdit()->clear();
    QTest::keyClicks(combo->lineEdit(), QStringLiteral("com1"));
    EXPECT_EQ(combo->currentText(), QStringLiteral("com1"));
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(combo->currentText(), QStringLiteral("com1"));
    EXPECT_EQ(combo->count(), 20);
}

TEST_F(AppTest, TypingAnItemExactlyCountsAsPickingIt)
{
    QComboBox *combo = window().settingsPanel()->pcSpeed();
    combo->lineEdit()->clear();
    QTest::keyClicks(combo->lineEdit(), QStringLiteral("115200"));
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(stored(QStringLiteral("COM_speed")), QStringLiteral("115200"));
}

} // namespace
