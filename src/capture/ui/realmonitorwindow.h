#pragma once

#include <QWidget>

class QMdiArea;
class QMdiSubWindow;

namespace ferrox {

class LiveLines;
class LiveLinesView;

// The simple monitor's window "frmRealMonitor", captioned
// "簡易モニターウインドウ": one painted live view "RichText_RealMonitor" in
// the 9-point gothic font over the monitor's ring of lines. A new window
// starts empty: what the ring held for an earlier one is dropped.
// Closing it with its close box emits closed() (the monitor goes off).
class RealMonitorWindow : public QWidget
{
    Q_OBJECT
public:
    explicit RealMonitorWindow(LiveLines &lines, QWidget *parent = nullptr);

    LiveLinesView *liveView() const { return m_view; }

    // Opens the window as a child of area, placed as it loads: 7800 × 1500
    // twips, left edge 0, bottom 450 twips above the area's bottom.
    static QMdiSubWindow *open(QMdiArea *area, LiveLines &lines);

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    LiveLinesView *m_view;
};

} // namespace ferrox
