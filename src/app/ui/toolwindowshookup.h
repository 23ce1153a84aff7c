#pragma once

#include "editor/editorstore.h"

#include <QObject>

namespace ferrox {

class AboutBox;
class HelpCommands;
class LinkOwner;
class LogWindowRegistry;
class MainWindow;
class MonitorSession;
class SignalSampler;

// The main window's commands that open windows of their own: the line
// speed measurement ("mnuRateMeasure"), the capture data editor
// ("mnuModify", revealed with "mnuMonitorBar2" from the About window's
// icon), the About window ("mnuHelpAbout"), the help ("mnuHelpContents",
// "mnuHelpSearchForHelpOn").
// The editor reaches the current data here, in the monitor session.
class ToolWindowsHookup : public QObject, public EditorData
{
    Q_OBJECT
public:
    // Everything passed stays the caller's and must outlive the hookup;
    // appFolder ends with a separator.
    ToolWindowsHookup(MainWindow &window, MonitorSession &state, LinkOwner &owner, SignalSampler &sampler,
                      LogWindowRegistry &logWindows, const QString &appFolder);

    AboutBox &about() const { return *m_about; }
    HelpCommands &help() const { return *m_help; }

    void openMeasurement();
    void openEditor();

    // EditorData
    CaptureBuffer captureBuffer() const override;
    bool replaceStream(const CaptureBuffer &capture) override;
    void reloadStream() override;

private:
    void appendToNewestLog(const QString &text);
    QString dataFilePath() const;

    MainWindow &m_window;
    MonitorSession &m_state;
    LinkOwner &m_owner;
    SignalSampler &m_sampler;
    LogWindowRegistry &m_logWindows;
    const QString m_appFolder;
    AboutBox *m_about;
    HelpCommands *m_help;
};

} // namespace ferrox
