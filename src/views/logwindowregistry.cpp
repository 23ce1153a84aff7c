#include "logwindowregistry.h"

#include "platform/statusreport.h"
#include "views/logwindow.h"
#include "views/texts.h"

namespace ferrox {

LogWindow::~LogWindow() = default;
LogWindowFactory::~LogWindowFactory() = default;
LogWindowListener::~LogWindowListener() = default;
RunningCapture::~RunningCapture() = default;

LogWindowRegistry::LogWindowRegistry(LogWindowFactory &factory, StatusPanel &status)
    : m_factory(factory), m_status(status)
{
}

LogWindow *LogWindowRegistry::NewLogWindow()
{
    const qint32 n = ++m_current;
    LogWindow *window = m_factory.createLogWindow(n);
    m_windows[n] = window;
    // The window's load: counted, and the text commands have a target.
    ++m_openCount;
    if (m_listener) {
        m_listener->showOpenLogWindowCount(m_openCount);
        m_listener->setLogTextCommandsEnabled(true);
    }
    return window;
}

LogWindow *LogWindowRegistry::LogWindows(qint32 n) const
{
    const auto it = m_windows.find(n);
    return it == m_windows.end() ? nullptr : it->second;
}

void LogWindowRegistry::windowClosed(qint32 number)
{
    if (!m_windows.contains(number))
        return; // closed once already
    --m_openCount;
    if (m_listener) {
        m_listener->showOpenLogWindowCount(m_openCount);
        if (m_openCount < 1)
            m_listener->setLogTextCommandsEnabled(false);
    }
    // The window is still alive here, so the stop may still colour it.
    if (number == m_current && m_capture && m_capture->captureRunning()) {
        m_capture->StopMonitor();
        ReportStatus(m_status, 1, viewtexts::captureCancelled(), 0);
    }
    m_windows.erase(number);
}

void LogWindowRegistry::windowDestroyed(qint32 number)
{
    if (m_windows.erase(number) > 0)
        --m_openCount;
}

} // namespace ferrox
