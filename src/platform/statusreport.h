#pragma once

#include <QString>

namespace ferrox {

// The first panel of the status bar and the progress bar beside it, as
// the main window provides them.
class StatusPanel
{
public:
    virtual ~StatusPanel();
    virtual void setPanelText(const QString &text) = 0;
    virtual void setProgressVisible(bool visible) = 0;
    virtual void setProgressValue(int percentDone) = 0; // 0..100
};

// The only writer of the status bar. remaining is the percentage of work
// still to do: 0 shows text and hides the progress bar; anything else
// shows the bar at 100 - remaining (kept within 0..100) and that number
// with "%" in the panel, ignoring text. panel is always 1.
void ReportStatus(StatusPanel &status, qint32 panel, const QString &text, qint32 remaining);

} // namespace ferrox
