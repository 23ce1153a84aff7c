#pragma once

#include <QtGlobal>

#include <map>

namespace ferrox {

class LogWindow;
class StatusPanel;

// Makes the window for NewLogWindow: numbered, captioned "モニターログ",
// shown as the active child window.
class LogWindowFactory
{
public:
    virtual ~LogWindowFactory();
    virtual LogWindow *createLogWindow(qint32 number) = 0;
};

// The main window's side of opening and closing log windows: the count
// label `Label_x` and the text save and print commands.
class LogWindowListener
{
public:
    virtual ~LogWindowListener();
    virtual void showOpenLogWindowCount(qint32 count) = 0;
    virtual void setLogTextCommandsEnabled(bool enabled) = 0;
};

// The running capture as the log windows see it: closing the capture's
// own window stops it.
class RunningCapture
{
public:
    virtual ~RunningCapture();
    // True while a capture runs (its start button is disabled).
    virtual bool captureRunning() const = 0;
    virtual void StopMonitor() = 0;
};

// The monitor-log windows of this run. Numbers only grow and are never
// reused; there is no upper bound. The newest window (CurrentLogWindow)
// is where the program's activity writes.
class LogWindowRegistry
{
public:
    LogWindowRegistry(LogWindowFactory &factory, StatusPanel &status);

    void setListener(LogWindowListener *listener) { m_listener = listener; }
    void setRunningCapture(RunningCapture *capture) { m_capture = capture; }

    // Creates, numbers and shows a new window; it becomes the newest.
    LogWindow *NewLogWindow();

    // The open window with number n, or nullptr when it was closed (or
    // never made).
    LogWindow *LogWindows(qint32 n) const;
    LogWindow *newest() const { return LogWindows(m_current); }

    qint32 CurrentLogWindow() const { return m_current; }
    qint32 OpenLogWindowCount() const { return m_openCount; }

    // The window's unload: the user (or the program) closes it. Counts
    // it out, and cancels a running capture when it was the newest.
    void windowClosed(qint32 number);
    // The window is destroyed without being closed (the program ends):
    // forgotten without any notice.
    void windowDestroyed(qint32 number);

private:
    LogWindowFactory &m_factory;
    StatusPanel &m_status;
    LogWindowListener *m_listener = nullptr;
    RunningCapture *m_capture = nullptr;
    std::map<qint32, LogWindow *> m_windows;
    qint32 m_current = 0;
    qint32 m_openCount = 0;
};

} // namespace ferrox
