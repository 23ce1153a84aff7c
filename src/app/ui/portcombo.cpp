#include "portcombo.h"

#include "combotext.h"

#include "app/base/portchoices.h"

namespace ferrox {

PortCombo::PortCombo(QWidget *parent, DeviceSource devices)
    : QComboBox(parent), m_devices(std::move(devices))
{
    setUpListCombo(this, QStringLiteral("Combo_Com_port"));
}

void PortCombo::refill(const QString &text)
{
    fill(m_devices(), text);
}

void PortCombo::fillNumbered(const QString &text)
{
    fill({}, text);
}

void PortCombo::fill(const QList<SerialDevice> &devices, const QString &text)
{
    clear();
    for (const PortChoice &choice : portChoices(devices)) {
        addItem(choice.text);
        if (!choice.toolTip.isEmpty())
            setItemData(count() - 1, choice.toolTip, Qt::ToolTipRole);
    }
    setComboText(this, text);
}

void PortCombo::showPopup()
{
    emit listOpening();
    QComboBox::showPopup();
}

} // namespace ferrox
