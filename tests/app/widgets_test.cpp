#include "app/ui/colorbox.h"
#include "app/ui/combotext.h"
#include "platform/ui/appearance.h"

#include <QComboBox>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace ferrox;

namespace {

TEST(ComboText, OnlyAnExactTextSelectsAnItem)
{
    QWidget parent;
    QComboBox *combo = makeListCombo(QStringLiteral("Combo"), &parent);
    addComboItems(combo, {QStringLiteral("  9600"), QStringLiteral(" 19200"), QStringLiteral("COM1")});
    QSignalSpy activated(combo, &QComboBox::activated);

    const QList<std::pair<QString, int>> cases = {
        {QStringLiteral(" 19200"), 1}, {QStringLiteral("19200"), -1}, {QStringLiteral(" 9600"), -1},
        {QStringLiteral("com1"), -1},  {QStringLiteral("COM1"), 2},   {QString(), -1},
        {QStringLiteral("  9600"), 0},
    };
    for (const auto &[text, index] : cases) {
        setComboText(combo, text);
        EXPECT_EQ(combo->currentText(), text) << text.toStdString();
        EXPECT_EQ(combo->currentIndex(), index) << text.toStdString();
    }
    EXPECT_EQ(activated.count(), 0);
    EXPECT_EQ(combo->objectName(), QStringLiteral("Combo"));
    EXPECT_TRUE(combo->isEditable());
    EXPECT_EQ(combo->insertPolicy(), QComboBox::NoInsert);
}

TEST(ComboText, AddingItemsKeepsTheShownText)
{
    QWidget parent;
    QComboBox *combo = makeListCombo(QStringLiteral("Combo"), &parent);
    setComboText(combo, QStringLiteral(" 14400"));
    addComboItems(combo, {QStringLiteral("  4800"), QStringLiteral("  9600")});
    EXPECT_EQ(combo->currentText(), QStringLiteral(" 14400"));
    EXPECT_EQ(combo->currentIndex(), -1);

    setComboText(combo, QStringLiteral("  9600"));
    addComboItems(combo, {QStringLiteral(" 19200")});
    EXPECT_EQ(combo->currentText(), QStringLiteral("  9600"));
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_EQ(combo->count(), 3);
}

TEST(ColorBox, StartsInButtonFaceAndReportsClicksInsideIt)
{
    ColorBox box(QStringLiteral("Label_DBG"), QSize(12, 12));
    EXPECT_EQ(box.color(), buttonFaceColor());
    QSignalSpy clicked(&box, &ColorBox::clicked);
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicked.count(), 1);
    QTest::mouseClick(&box, Qt::RightButton, {}, QPoint(5, 5));
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(30, 5));
    EXPECT_EQ(clicked.count(), 1);
}

} // namespace
