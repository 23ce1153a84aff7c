// The settings panel's own widgets: the list boxes, the port list (the twenty
// numbered ports, then the serial devices found, refilled each time the list
// opens without touching the shown text).
#include "app/base/portchoices.h"
#include "app/ui/combotext.h"
#include "app/ui/portcombo.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QWheelEvent>
#include <gtest/gtest.h>

using namespace ferrox;

namespace {

TEST(ComboText, OnlyAnExactTextSelectsAnItem)
{
    QWidget parent;
    QComboBox *combo = makeListCombo(QStringLiteral("Combo"), &parent);
    setComboItems(combo, {QStringLiteral("  9600"), QStringLiteral("COM1")}, QStringLiteral(" 14400"));
    EXPECT_EQ(combo->currentText(), QStringLiteral(" 14400"));
    QSignalSpy activated(combo, &QComboBox::activated);
    for (const auto &[text, index] : {std::pair{QStringLiteral("com1"), -1}, {QStringLiteral("  9600"), 0}}) {
        setComboText(combo, text);
        EXPECT_EQ(combo->currentText(), text) << text.toStdString();
        EXPECT_EQ(combo->currentIndex(), index) << text.toStdString();
    }
    EXPECT_EQ(activated.count(), 0);
}

// Scrolling the settings panel past a combo box is no choice: only the
// focused combo box takes the wheel; any other leaves the turn unaccepted,
// so it goes on to the panel.
TEST(ComboText, TheWheelChoosesOnlyInTheFocusedComboBox)
{
    QWidget panel;
    QComboBox *combo = makeListCombo(QStringLiteral("Combo"), &panel);
    setComboItems(combo, {QStringLiteral("  9600"), QStringLiteral(" 19200")}, QStringLiteral("  9600"));
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

const SerialDevice kAdapter{QStringLiteral("/dev/ttyUSB0"), QStringLiteral("FT232R USB UART"),
                            QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_A1-if00-port0")};
const SerialDevice kBare{QStringLiteral("/dev/ttyS0"), QString(), QString()};

TEST(PortChoices, NumberedPortsThenTheDevicesWithTheirNames)
{
    const QList<PortChoice> choices = portChoices({kAdapter, kBare});
    ASSERT_EQ(choices.size(), 22);
    EXPECT_EQ(choices[19].text, QStringLiteral("COM20"));
    EXPECT_EQ(choices[19].toolTip, QString());
    EXPECT_EQ(choices[21].text, kBare.path);
    EXPECT_EQ(choices[21].toolTip, QString());
    EXPECT_EQ(serialDeviceLine(kAdapter), QStringLiteral("/dev/ttyUSB0\tFT232R USB UART\t") + kAdapter.byIdName);
    EXPECT_EQ(serialDeviceLine(kBare), QStringLiteral("/dev/ttyS0\t-\t-"));
    PortCombo combo(nullptr, [] { return QList<SerialDevice>{kAdapter}; });
    combo.refill(QStringLiteral("/dev/ttyACM3"));
    EXPECT_EQ(combo.itemData(20, Qt::ToolTipRole).toString(), kAdapter.description + u'\n' + kAdapter.byIdName);
}

} // namespace
