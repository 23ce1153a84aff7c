#pragma once

#include "frames/framer.h"

#include "views/ui/filechoice.h"

#include "data/finishedcapture.h"
#include "data/monitordata.h"
#include "data/reportheader.h"

#include <QColor>
#include <QString>

#include <functional>
#include <memory>

namespace ferrox {

class Dialogs;
class LogWindow;
class LogWindowRegistry;
class ProgramSettings;
class StatusPanel;

// What the current data's commands need from the main window.
class MonitorLogHost
{
public:
    virtual ~MonitorLogHost();
    // The settings panel's texts now (a rendering reports them).
    virtual ReportHeaderSettings reportHeaderSettings() const = 0;
    // Combo_DisplayMode's text.
    virtual QString displayModeText() const = 0;
    // mnuFileSaveDataFile, mnuDpOpen and the Cmd_DpOpen buttons.
    virtual void setDataCommandsEnabled(bool enabled) = 0;
    // An opened data file becomes the current data (which the commands read).
    virtual void setCurrentData(const MonitorData &data) = 0;
    // The main window's whole caption.
    virtual void setMainCaption(const QString &caption) = 0;
    // The received-byte lamp Picture1.
    virtual void setReceiveLampColor(const QColor &color) = 0;
};

// The current data shown in log windows: the post-capture decision, the
// rendering into its log window, the five display commands and the
// data-file open and save commands.
//
// A rendering runs to its end at once (the renderers never yield), so two
// can never interleave; only the loading of the rendered text into its
// window goes on in steps. Each rendering names its window and its mode: a
// command arriving during a capture renders into its own new window and
// leaves the capture's window and mode alone. The hourglass shows until the text is in its window.
class MonitorLogCommands
{
public:
    // Width of the text in a display window, in twips.
    static constexpr double displayRightMarginTwips = 7300;

    MonitorLogCommands(LogWindowRegistry &windows, const MonitorData &data, MonitorLogHost &host,
                       Dialogs &dialogs, ProgramSettings &settings, StatusPanel &status,
                       const QString &appFolder);

    // After a capture has stored its end code and named the data: shows
    // its judgement (see judgeCapture) in the capture's own window (log
    // window number logNumber), whatever windows opened since. Data that is
    // not empty is stored as "rs_data.dat"; rejected data is told why,
    // sound data rendered in displayMode, the mode chosen as the capture
    // started. done runs once the window's texts are complete (as
    // RenderMonitorLog's, or at once after a rejection); replaced tells
    // whether a rendering replaced the window's text. Whoever ran the
    // capture ends its busy state.
    void ProcessCapturedData(qint32 logNumber, qint32 displayMode, std::function<void(bool replaced)> done = {});

    // Renders the current data in displayMode into log window logNumber.
    // done runs once the text is shown there (at once when nothing is to
    // be loaded; never when the window is closed first).
    void RenderMonitorLog(qint32 logNumber, qint32 displayMode, std::function<void()> done = {});

    // Display command k (1 to 5): a new window, captioned with the menu
    // item's caption and the data's name.
    void displayLog(qint32 mode, const QString &menuCaption);

    // mnuFileOpenDataFile: open a data file and show it in the display
    // mode of the settings panel. With a path (the command line's file),
    // that file instead of the user's choice.
    void openDataFile(const QString &path = {});
    // mnuFileSaveDataFile: save the current data under a chosen name.
    // The arrival times go along in the file's sidecar.
    void saveDataFile();

    // The sixth view: the current data's direction changes and response
    // times in a new log window, captioned like a display command's.
    void displayTimeline();
    // The File menu's export: the current data as pcap, CSV or JSON lines,
    // chosen by the name's extension; a pcap record a frame, cut by
    // `records` as the frame view cuts them. Data with tag-sequence errors
    // is exported as far as it is sound, with a message saying so.
    void exportData(const FramerOptions &records = {});

private:
    struct Opened
    {
        bool ok = false;
        qint32 logNumber = 0; // the window it is shown in
        QString cutNote;     // set when the file was longer than the buffer
        QString sidecarNote; // set when its arrival times were ignored
    };
    Opened OpenMonitorDataFile(const QString &givenPath, qint32 displayMode);
    class BusyCursor;
    void append(qint32 logNumber, const QString &text);
    void rejectCapture(qint32 logNumber);
    // How the current data is rendered now: in mode, the panel's header,
    // progress on the status line, with the byte map.
    RenderChoice renderChoice(qint32 mode);
    // A rendering of the current data into log window logNumber (result
    // none: no such mode); the hourglass shows until the text is in it.
    // done tells whether the rendering replaced the window's text.
    void showRendering(qint32 logNumber, const std::optional<RenderResult> &result, std::shared_ptr<BusyCursor> busy,
                       std::function<void(bool replaced)> done);
    // The current arrival times beside a data file, or no stale ones;
    // failures are told.
    void placeTimes(const QString &dataPath);
    QString dataFilePath() const;
    QString renderedTextPath() const;

    LogWindowRegistry &m_windows;
    const MonitorData &m_data;
    MonitorLogHost &m_host;
    Dialogs &m_dialogs;
    StatusPanel &m_status;
    FileChoice m_files;
    QString m_appFolder;
};

} // namespace ferrox
