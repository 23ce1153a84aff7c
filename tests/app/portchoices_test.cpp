// The port list: the twenty numbered ports, then the serial devices found,
// refilled each time the list opens without touching the shown text.
#include "app/portchoices.h"
#include "app/ui/portcombo.h"

#include <QLineEdit>
#include <gtest/gtest.h>

using namespace ferrox;

namespace {

const SerialDevice kAdapter{QStringLiteral("/dev/ttyUSB0"), QStringLiteral("FT232R USB UART"),
                            QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_A1-if00-port0")};
const SerialDevice kBare{QStringLiteral("/dev/ttyS0"), QString(), QString()};

TEST(PortChoices, NumberedPortsThenTheDevicesWithTheirNames)
{
    const QList<PortChoice> choices = portChoices({kAdapter, kBare});
    ASSERT_EQ(choices.size(), 22);
    for (int i = 0; i < 20; ++i)
        EXPECT_TRUE(choices[i].text == QStringLiteral("COM%1").arg(i + 1) && choices[i].toolTip.isEmpty()) << i;
    EXPECT_EQ(choices[20].text, kAdapter.path);
    EXPECT_EQ(choices[20].toolTip, kAdapter.description + u'\n' + kAdapter.byIdName);
    EXPECT_TRUE(choices[21].text == kBare.path && choices[21].toolTip.isEmpty());

    EXPECT_EQ(serialDeviceLine(kAdapter), QStringLiteral("/dev/ttyUSB0\tFT232R USB UART\t") + kAdapter.byIdName);
    EXPECT_EQ(serialDeviceLine(kBare), QStringLiteral("/dev/ttyS0\t-\t-"));
}

TEST(PortChoices, OpeningTheListRefillsItAndKeepsTheText)
{
    QList<SerialDevice> present;
    PortCombo combo(nullptr, [&present] { return present; });
    combo.refill();
    combo.setEditText(QStringLiteral("/dev/ttyACM3"));
    present = {kAdapter};
    combo.showPopup();
    EXPECT_EQ(combo.count(), 21);
    EXPECT_EQ(combo.itemData(20, Qt::ToolTipRole).toString(), kAdapter.description + u'\n' + kAdapter.byIdName);
    EXPECT_EQ(combo.currentText(), QStringLiteral("/dev/ttyACM3"));
    combo.hidePopup();

    // Return on a typed path not in the list is a choice; on other text it is not.
    int entered = 0;
    QObject::connect(&combo, &PortCombo::devicePathEntered, [&entered] { ++entered; });
    for (const QString &text : {QStringLiteral("/dev/ttyACM3"), QStringLiteral("COM99"), kAdapter.path}) {
        combo.setEditText(text);
        emit combo.lineEdit()->returnPressed();
    }
    EXPECT_EQ(entered, 1);
}

} // namespace
