#pragma once

#include "editor/editorstore.h"
#include "platform/settingsstore.h"

#include <QObject>

namespace ferrox {

class AboutBox;
class Dialogs;
class HelpCommands;
class LinkOwner;
class LogWindowRegistry;
struct MainMenu;
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
    // The tool windows belong to owner and its menu; everything passed
    // stays the caller's and must outlive the hookup; appFolder ends with a
    // separator.
    ToolWindowsHookup(QWidget *owner, const MainMenu &menu, ProgramSettings settings, Dialogs &dialogs,
                      MonitorSession &state, LinkOwner &link, SignalSampler &sampler, LogWindowRegistry &logWindows,
                      const QString &appFolder);

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
    // The editor's stream becomes the current data's.
    void takeStream(const CaptureBuffer &capture);

    QWidget *m_ownerWindow;
    ProgramSettings m_settings;
    Dialogs &m_dialogs;
    MonitorSession &m_state;
    LinkOwner &m_owner;
    SignalSampler &m_sampler;
    LogWindowRegistry &m_logWindows;
    const QString m_appFolder;
    AboutBox *m_about;
    HelpCommands *m_help;
};

} // namespace ferrox
