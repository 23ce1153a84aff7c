#include "app/ui/colorbox.h"
#include "app/ui/combotext.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QWheelEvent>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace ferrox;

namespace {

TEST(ComboText, OnlyAnExactTextSelectsAnItemAndAddingItemsKeepsIt)
{
    QWidget parent;
    QComboBox *combo = makeListCombo(QStringLiteral("Combo"), &parent);
    setComboText(combo, QStringLiteral(" 14400"));
    addComboItems(combo, {QStringLiteral("  9600"), QStringLiteral(" 19200")});
    EXPECT_EQ(combo->currentText(), QStringLiteral(" 14400"));
    addComboItems(combo, {QStringLiteral("COM1")});
    QSignalSpy activated(combo, &QComboBox::activated);

    const QList<std::pair<QString, int>> cases = {
        {QStringLiteral(" 19200"), 1}, {QStringLiteral("19200"), -1}, {QStringLiteral("com1"), -1},
        {QStringLiteral("COM1"), 2},   {QString(), -1},                {QStringLiteral("  9600"), 0},
    };
    for (const auto &[text, index] : cases) {
        setComboText(combo, text);
        EXPECT_EQ(combo->currentText(), text) << text.toStdString();
        EXPECT_EQ(combo->currentIndex(), index) << text.toStdString();
    }
    addComboItems(combo, {QStringLiteral(" 38400")});
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_EQ(activated.count(), 0);
}

// Scrolling the settings panel past a combo box is no choice: only the
// focused combo box takes the wheel; any other leaves the turn unaccepted,
// so it goes on to the panel.
TEST(ComboText, TheWheelChoosesOnlyInTheFocusedComboBox)
{
    QWidget panel;
    QComboBox *combo = makeListCombo(QStringLiteral("Combo"), &panel);
    addComboItems(combo, {QStringLiteral("  9600"), QStringLiteral(" 19200")});
    setComboText(combo, QStringLiteral("  9600"));
    auto *other = new QPushButton(&panel);
    panel.show();
    QApplication::setActiveWindow(&panel);
    QSignalSpy activated(combo, &QComboBox::activated);
    for (QWidget *focused : {static_cast<QWidget *>(other), static_cast<QWidget *>(combo)}) {
        focused->setFocus();
        QWheelEvent turn(QPointF(5, 5), combo->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(combo, &turn);
        EXPECT_EQ(turn.isAccepted(), focused == combo);
        EXPECT_EQ(combo->currentIndex(), focused == combo ? 1 : 0);
        EXPECT_EQ(activated.count(), focused == combo ? 1 : 0);
    }
}

TEST(ColorBox, ReportsLeftClicksInsideItOnly)
{
    ColorBox box(QStringLiteral("Label_DBG"), QSize(12, 12));
    QSignalSpy clicked(&box, &ColorBox::clicked);
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(&box, Qt::RightButton, {}, QPoint(5, 5));
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(30, 5));
    EXPECT_EQ(clicked.count(), 1);
}

} // namespace
