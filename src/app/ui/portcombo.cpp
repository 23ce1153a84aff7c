#include "portcombo.h"

#include "combotext.h"

#include "app/base/portchoices.h"
#include "link/protocol.h"

#include <QLineEdit>

namespace ferrox {

PortCombo::PortCombo(QWidget *parent, DeviceSource devices)
    : QComboBox(parent), m_devices(std::move(devices))
{
    setUpListCombo(this, QStringLiteral("Combo_Com_port"));
    connect(lineEdit(), &QLineEdit::returnPressed, this, [this] {
        if (isDevicePath(currentText()) && findText(currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive) < 0)
            emit devicePathEntered();
    });
}

void PortCombo::refill()
{
    fill(m_devices());
}

void PortCombo::fillNumbered()
{
    fill({});
}

void PortCombo::fill(const QList<SerialDevice> &devices)
{
    const QString shown = currentText();
    clear();
    for (const PortChoice &choice : portChoices(devices)) {
        addItem(choice.text);
        if (!choice.toolTip.isEmpty())
            setItemData(count() - 1, choice.toolTip, Qt::ToolTipRole);
    }
    setComboText(this, shown);
}

void PortCombo::showPopup()
{
    refill();
    QComboBox::showPopup();
}

} // namespace ferrox
