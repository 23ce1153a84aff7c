#pragma once

#include "platform/serialdevices.h"

#include <QComboBox>

#include <functional>

namespace ferrox {

// The port list "Combo_Com_port": an editable list combo whose items are
// refilled from the serial devices present each time the list opens (see
// portChoices()). The shown text never changes by a refill.
class PortCombo : public QComboBox
{
    Q_OBJECT

public:
    using DeviceSource = std::function<QList<SerialDevice>()>;

    explicit PortCombo(QWidget *parent = nullptr, DeviceSource devices = findSerialDevices);

    void refill();
    // The numbered ports only: the window's start leaves the devices to the
    // list's first opening, since looking for them takes longer than the
    // rest of the start.
    void fillNumbered();
    void showPopup() override;

signals:
    // Return pressed on a typed device path that is not in the list (a
    // listed text is a choice by activated() already).
    void devicePathEntered();

private:
    void fill(const QList<SerialDevice> &devices);

    DeviceSource m_devices;
};

} // namespace ferrox
