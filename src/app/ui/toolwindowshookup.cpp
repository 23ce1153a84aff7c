#include "toolwindowshookup.h"

#include "app/session.h"
#include "app/ui/logwindowshookup.h"
#include "app/ui/mainwindow.h"
#include "app/ui/settingspanel.h"
#include "signals/signalsampler.h"

#include "about/helpbook.h"
#include "about/texts.h"
#include "about/ui/aboutwindow.h"
#include "about/ui/helpcommands.h"
#include "data/datafiles.h"
#include "data/sidecar.h"
#include "editor/ui/modifywindow.h"
#include "platform/dialogs.h"
#include "version/programinfo.h"
#include "speed/ui/baudratewindow.h"
#include "views/logwindow.h"
#include "views/texts.h"

#include <QAction>
#include <QPushButton>
#include <QTimer>

namespace ferrox {

ToolWindowsHookup::ToolWindowsHookup(MainWindow &window, Session &session)
    : m_window(window), m_session(session), m_about(new AboutBox(&window)),
      m_help(new HelpCommands(&window, window.dialogs(), helpFolder()))
{
    connect(window.menuItem(QStringLiteral("mnuRateMeasure")), &QAction::triggered, this,
            &ToolWindowsHookup::openMeasurement);
    connect(window.menuItem(QStringLiteral("mnuModify")), &QAction::triggered, this, &ToolWindowsHookup::openEditor);
    connect(window.menuItem(QStringLiteral("mnuHelpAbout")), &QAction::triggered, m_about, &AboutBox::show);
    connect(window.menuItem(QStringLiteral("mnuHelpContents")), &QAction::triggered, m_help,
            &HelpCommands::showContents);
    connect(window.menuItem(QStringLiteral("mnuHelpSearchForHelpOn")), &QAction::triggered, m_help,
            &HelpCommands::showSearch);
    // Revealed for the rest of the run.
    connect(m_about, &AboutBox::editorRevealed, this, [&window] {
        window.menuItem(QStringLiteral("mnuMonitorBar2"))->setVisible(true);
        window.menuItem(QStringLiteral("mnuModify"))->setVisible(true);
    });
}

void ToolWindowsHookup::openMeasurement()
{
    SignalSampler &sampler = m_session.sampler();
    MeasurementSurroundings surroundings{
        [this] { return m_session.state().MonitorBusy(); },
        [this] { return m_session.state().SimpleMonitorOpen(); },
        [&sampler] { return sampler.isSamplingEnabled(); },
        [&sampler](bool on) { sampler.setSamplingEnabled(on); },
    };
    auto *measurement = new BaudRateWindow(m_session.linkOwner(), std::move(surroundings), &m_window);
    // The window is modal: while it is open the program measures or waits to.
    MonitorSession &state = m_session.state();
    state.setMeasuring(true);
    connect(measurement, &QDialog::finished, this, [&state] { state.setMeasuring(false); });
    measurement->open();
}

void ToolWindowsHookup::openEditor()
{
    (new ModifyWindow(*this, m_window.settings(), m_window.dialogs(), m_session.appFolder(), &m_window))->show();
}

CaptureBuffer ToolWindowsHookup::captureBuffer() const
{
    return m_session.state().data().capture;
}

bool ToolWindowsHookup::replaceStream(const CaptureBuffer &capture)
{
    // The editor has no use for the sequence errors: only the data file
    // follows the stream.
    appendToNewestLog(viewtexts::examiningData());
    const FileWriteResult stored = StoreMonitorData(capture, dataFilePath());
    if (!stored.ok) {
        m_window.dialogs().inform(stored.message, MessageIcon::Critical);
        return false;
    }
    // No arrival times beside an edited stream: a stale sidecar would date
    // bytes the editor changed.
    placeSidecar(dataFilePath(), std::nullopt);
    m_session.state().replaceStream(capture);
    return true;
}

void ToolWindowsHookup::reloadStream()
{
    appendToNewestLog(viewtexts::loadingData());
    const LoadResult loaded = LoadMonitorData(dataFilePath());
    if (!loaded.ok()) {
        // The stored stream is still in memory; only the file went away.
        m_window.dialogs().inform(loaded.message, MessageIcon::Critical);
        return;
    }
    m_session.state().replaceStream(loaded.capture);
}

void ToolWindowsHookup::appendToNewestLog(const QString &text)
{
    if (LogWindow *log = m_session.logWindows().registry().newest())
        log->appendText(text);
}

QString ToolWindowsHookup::dataFilePath() const
{
    return m_session.appFolder() + monitorDataFileName();
}

} // namespace ferrox
