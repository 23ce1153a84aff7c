#pragma once

#include "editor/editorstore.h"

#include <QObject>

namespace ferrox {

class AboutBox;
class HelpCommands;
class MainWindow;
class Session;

// The main window's commands that open windows of their own: the line
// speed measurement ("mnuRateMeasure"), the capture data editor
// ("mnuModify", revealed with "mnuMonitorBar2" from the About window's
// icon), the About window ("mnuHelpAbout"), the help ("mnuHelpContents",
// "mnuHelpSearchForHelpOn").
// The editor reaches the current data here, through the session.
class ToolWindowsHookup : public QObject, public EditorData
{
    Q_OBJECT
public:
    ToolWindowsHookup(MainWindow &window, Session &session);

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
    Session &m_session;
    AboutBox *m_about;
    HelpCommands *m_help;
};

} // namespace ferrox
