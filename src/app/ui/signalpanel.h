#pragma once

#include <QGroupBox>

#include <array>

class QLabel;
class QPushButton;

namespace ferrox {

class ColorBox;
class Lamp;

// The signal panel "Frame_Signal": eight lamps "Pic(0)"…"Pic(7)" for the
// monitored line's signals (index = bit number in the board's state byte)
// with their captions "Label_LED(0)"…"Label_LED(7)", the sampling
// indicator "Label_DBG", the readout button "Command_READ" with its label
// "Label_Signal", and the hidden reference images "Pic_red" (active),
// "Pic_blk" (inactive) and "Pic_glay" (not sampled) that lamps copy.
// At start every lamp shows the grey image and has an empty tag.
class SignalPanel : public QGroupBox
{
    Q_OBJECT

public:
    static constexpr int LampCount = 8;

    explicit SignalPanel(QWidget *parent = nullptr);

    Lamp *lamp(int index) const { return m_lamps.at(index); }
    QLabel *lampLabel(int index) const { return m_lampLabels.at(index); }
    QLabel *signalLabel() const { return m_signalLabel; }
    QPushButton *readButton() const { return m_readButton; }
    ColorBox *indicator() const { return m_indicator; }

    // Not sampled: every lamp grey, then the captions, "Label_Signal" and
    // "Command_READ" disabled. A capture and the simple monitor start so.
    void DisableSignalPanel();
    // Sampling may resume: every lamp black (a signal that is off) and the
    // same controls enabled; the next sample paints the lamps.
    void EnableSignalPanel();
    QLabel *picRed() const { return m_picRed; }
    QLabel *picBlk() const { return m_picBlk; }
    QLabel *picGlay() const { return m_picGlay; }

private:
    void setSampled(const QLabel *lampPicture, bool enabled);

    std::array<Lamp *, LampCount> m_lamps{};
    std::array<QLabel *, LampCount> m_lampLabels{};
    QLabel *m_signalLabel = nullptr;
    QPushButton *m_readButton = nullptr;
    ColorBox *m_indicator = nullptr;
    QLabel *m_picRed = nullptr;
    QLabel *m_picBlk = nullptr;
    QLabel *m_picGlay = nullptr;
};

} // namespace ferrox
