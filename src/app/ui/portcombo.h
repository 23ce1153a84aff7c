#pragma once

#include "platform/serialdevices.h"

#include <QComboBox>

#include <functional>

namespace ferrox {

// The port list "Combo_Com_port": an editable list combo whose items are
// refilled from the serial devices present (see portChoices()) each time
// the list opens: listOpening() comes first, for the settings panel to
// refill it with the text it shows.
class PortCombo : public QComboBox
{
    Q_OBJECT

public:
    using DeviceSource = std::function<QList<SerialDevice>()>;

    explicit PortCombo(QWidget *parent = nullptr, DeviceSource devices = findSerialDevices);

    // The numbered ports and the devices present, showing text.
    void refill(const QString &text);
    // The numbered ports only: the window's start leaves the devices to the
    // list's first opening, since looking for them takes longer than the
    // rest of the start.
    void fillNumbered(const QString &text);
    void showPopup() override;

signals:
    void listOpening();

private:
    void fill(const QList<SerialDevice> &devices, const QString &text);

    DeviceSource m_devices;
};

} // namespace ferrox
