#pragma once

#include <QElapsedTimer>
#include <QGroupBox>
#include <QPointer>
#include <QTimer>

#include <array>

class QLabel;
class QPushButton;

namespace ferrox {

class SignalSampler;

// The signal panel "Frame_Signal", a view of the sampling's state: eight
// lamps "Pic(0)"…"Pic(7)" (index = bit number in the board's state byte)
// with their captions "Label_LED(0)"…"Label_LED(7)", the sampling
// indicator "Label_DBG" (green while a sample is in progress), the readout
// button "Command_READ" with its label "Label_Signal", and the hidden
// reference images "Pic_red" (asserted), "Pic_blk" (not asserted) and
// "Pic_glay" (not sampled) that the lamps copy.
//
// The lamps' captions and "Label_Signal" follow the sampler's panel state;
// whether "Command_READ" may be used is the window's to say (a capture
// disables it on its own).
//
// A board answers a sample within milliseconds; the indicator stays green
// for at least MinFlashMs so that the flash can be seen at all.
class SignalPanel : public QGroupBox
{
    Q_OBJECT

public:
    static constexpr int LampCount = 8;
    static constexpr int MinFlashMs = 80;

    explicit SignalPanel(QWidget *parent = nullptr);

    // The sampling the panel shows, from now on. Until then every lamp is
    // grey and the indicator plain.
    void setSampler(SignalSampler *sampler);

    QLabel *lamp(int index) const { return m_lamps.at(index); }
    QLabel *lampLabel(int index) const { return m_lampLabels.at(index); }
    QLabel *signalLabel() const { return m_signalLabel; }
    QPushButton *readButton() const { return m_readButton; }
    QLabel *indicator() const { return m_indicator; }

signals:
    // Command_READ was clicked.
    void readRequested();
    // Label_DBG was clicked.
    void indicatorHelpRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refresh();
    void showIndicator(bool lit);
    QLabel *reference(int image) const;

    QPointer<SignalSampler> m_sampler; // may go before the panel
    std::array<QLabel *, LampCount> m_lamps{};
    std::array<QLabel *, LampCount> m_lampLabels{};
    std::array<QLabel *, 3> m_references{}; // by LampImage
    QLabel *m_signalLabel = nullptr;
    QPushButton *m_readButton = nullptr;
    QLabel *m_indicator = nullptr;
    QElapsedTimer m_litSince;
    QTimer m_flashEnd;
};

// A signal lamp's picture: an LED of the given colour, 20 × 15 pixels.
QPixmap drawLampImage(const QColor &color);

} // namespace ferrox
