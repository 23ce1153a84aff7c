#pragma once

#include "speed/measurementrun.h"

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;

namespace ferrox {

class LinkOwner;

// What the measurement window needs of the main window.
struct MeasurementSurroundings
{
    std::function<bool()> captureRunning;  // the capture start button is disabled
    std::function<bool()> simpleMonitorOn; // the simple monitor button is pressed
    // The signal sampling timer: paused while the window is open and put
    // back as it was when it closes.
    std::function<bool()> samplingEnabled;
    std::function<void(bool)> setSamplingEnabled;
};

// The measurement window "frmBaudRate": one text area "Label_RateMeasure"
// (instructions, progress, result), the buttons "Cmd_Start", "Cmd_Stop",
// "Cmd_Close" and the picture "Picture1". Ready: start and close usable;
// blocked (a capture or the simple monitor runs): only close; measuring:
// only stop. Closing it by any means while it measures stops the board.
//
// Show it with open(): it is application modal and deletes itself when
// closed.
class BaudRateWindow : public QDialog
{
    Q_OBJECT
public:
    // Placed 150 twips right of and 1500 twips below mainWindow's top left.
    BaudRateWindow(LinkOwner &owner, MeasurementSurroundings surroundings, QWidget *mainWindow);

    // The text area's text as set (lines joined by CR LF).
    QString text() const { return m_text; }

    void done(int result) override;

protected:
    // Escape closes it, except while it measures: then only "Cmd_Stop" ends
    // the measurement.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void setText(const QString &text);
    void startMeasurement();
    void measurementFinished(const MeasurementReport &report);

    MeasurementSurroundings m_surroundings;
    MeasurementRun m_run;
    bool m_samplingWasEnabled = false;
    bool m_closed = false;
    QString m_text;
    QLabel *m_label = nullptr;
    QPushButton *m_start = nullptr;
    QPushButton *m_stop = nullptr;
    QPushButton *m_close = nullptr;
};

} // namespace ferrox
