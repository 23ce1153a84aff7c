#pragma once

#include "app/ui/portcombo.h"
#include "link/protocol.h"
#include "platform/settingsstore.h"
#include "settings/monitorsettings.h"

#include <QScrollArea>

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace ferrox {

class ColorBox;
class LongCapturePanel;
class MonitorSession;
class SignalPanel;

// The settings window on the right of the main window, "Picture_big": the
// link and monitor settings, the link options, the simple monitor's
// presentation, the received-byte counter, the signal panel and the five
// display buttons "Cmd_DpOpen(0)"…"Cmd_DpOpen(4)" with the open-log count
// "Label_x". It scrolls when the window is too small to show it whole.
//
// The user's choices are stored the moment they are made (a pick from a
// list = activated(), a click on a link option = clicked()):
// "Display_mode", "Monitor_speed", "Direction", "COM_speed", "DTR", "RTS".
// These connections are made in the constructor, so any handler connected
// later sees the choice already stored. "COM_Port" is not stored here: it
// is stored by the port choice's handler once the new port has opened.
//
// The panel is the one place that shows choices as texts. Once bound to
// the monitor session, it writes every change of a choice (also typing
// into a combo box) into the session's settings before any choice's
// handler runs; everyone else reads the session.
class SettingsPanel : public QScrollArea
{
    Q_OBJECT

public:
    static constexpr int DisplayButtonCount = 5;

    SettingsPanel(ProgramSettings &settings, QWidget *parent = nullptr);

    // Fills the lists and shows the stored texts and link options (the
    // monitor speeds are those for the stored link speed). Nothing is
    // stored and no choice handler runs.
    void load();

    // From now on each edit of a choice goes into session's settings as its
    // typed value (a combo box text that is none of the list's items is a
    // choice that is not valid). session must outlive the panel's edits.
    void writeEditsInto(MonitorSession &session);
    // The display mode as captions name it: the stored choice when it
    // gives mode, else mode's item of the list.
    QString displayModeCaption(qint32 mode) const;

    // After a connection check: the monitored speeds and directions the
    // board offers, each list then showing its stored text (which need not
    // be one of them); the data-width options when offered (nothing
    // disables them again).
    void offerFeatures(const FirmwareFeatures &features);

    PortCombo *comPort() const { return m_comPort; }
    QComboBox *pcSpeed() const { return m_pcSpeed; }
    QComboBox *monitorSpeed() const { return m_monitorSpeed; }
    QComboBox *direction() const { return m_direction; }
    QComboBox *displayMode() const { return m_displayMode; }

    QGroupBox *dataWidthFrame() const { return m_dataWidthFrame; }  // Frame2
    QRadioButton *dataOnly() const { return m_dataOnly; }
    QRadioButton *dataAndParity() const { return m_dataAndParity; }

    QCheckBox *checkDtr() const { return m_checkDtr; }
    QCheckBox *checkRts() const { return m_checkRts; }
    QPushButton *portCheckButton() const { return m_portCheck; }     // Cmd_Port_Check
    QPushButton *linkOptionsHelpButton() const { return m_help; }   // Command_Help
    ColorBox *dsrLamp() const { return m_dsrLamp; }                  // Picture_DSR
    ColorBox *ctsLamp() const { return m_ctsLamp; }                  // Picture_CTS

    QRadioButton *textOption() const { return m_textOption; }        // Option_Txt

    QCheckBox *receivedBytesCheck() const { return m_recByteCheck; } // Check_RecByte
    QLabel *receivedBytesLabel() const { return m_recByteLabel; }    // Label_RecByte
    QLabel *byteUnitLabel() const { return m_byteLabel; }            // Label_Byte
    ColorBox *receiveLamp() const { return m_receiveLamp; }          // Picture1

    SignalPanel *signalPanel() const { return m_signalPanel; }       // Frame_Signal
    LongCapturePanel *longCapturePanel() const { return m_longCapture; } // Frame_LongCapture

    // Locked while a capture runs: "通信確認", the port, the direction, the
    // display mode, the monitor speed and the link speed.
    void setSettingsLocked(bool locked);
    // The signal panel's readout button "Command_READ".
    void setReadoutEnabled(bool enabled);

signals:
    // Return pressed on a typed device path that is not in the port list.
    void devicePathEntered();

public:
    // Display command k is button k - 1.
    QPushButton *displayButton(int index) const { return m_displayButtons.at(index); }
    QLabel *openLogCountLabel() const { return m_openLogCount; }     // Label_x

private:
    QWidget *makeChoices(QWidget *parent);
    QWidget *makeDataWidthFrame(QWidget *parent);
    QWidget *makeLinkOptionsFrame(QWidget *parent);
    QWidget *makeSimpleMonitorFrame(QWidget *parent);
    QWidget *makeReceivedBytesFrame(QWidget *parent);
    QWidget *makeDisplayButtons(QWidget *parent);
    void storeChoices();
    void choosePortsByText();

    ProgramSettings &m_settings;

    PortCombo *m_comPort = nullptr;
    QComboBox *m_pcSpeed = nullptr;
    QComboBox *m_monitorSpeed = nullptr;
    QComboBox *m_direction = nullptr;
    QComboBox *m_displayMode = nullptr;
    QGroupBox *m_dataWidthFrame = nullptr;
    QRadioButton *m_dataOnly = nullptr;
    QRadioButton *m_dataAndParity = nullptr;
    QCheckBox *m_checkDtr = nullptr;
    QCheckBox *m_checkRts = nullptr;
    QPushButton *m_portCheck = nullptr;
    QPushButton *m_help = nullptr;
    ColorBox *m_dsrLamp = nullptr;
    ColorBox *m_ctsLamp = nullptr;
    QRadioButton *m_hexOption = nullptr;
    QRadioButton *m_textOption = nullptr;
    QCheckBox *m_recByteCheck = nullptr;
    QLabel *m_recByteLabel = nullptr;
    QLabel *m_byteLabel = nullptr;
    ColorBox *m_receiveLamp = nullptr;
    SignalPanel *m_signalPanel = nullptr;
    LongCapturePanel *m_longCapture = nullptr;
    std::array<QPushButton *, DisplayButtonCount> m_displayButtons{};
    QLabel *m_openLogCount = nullptr;
};

} // namespace ferrox
