#include "toolwindowshookup.h"

#include "app/ui/mainmenu.h"
#include "platform/dialogs.h"

#include "about/helpbook.h"
#include "about/texts.h"
#include "about/ui/aboutwindow.h"
#include "about/ui/helpcommands.h"
#include "data/datafiles.h"
#include "data/capturestore.h"
#include "data/texts.h"
#include "editor/ui/modifywindow.h"
#include "platform/dialogs.h"
#include "session/monitorsession.h"
#include "signals/signalsampler.h"
#include "version/programinfo.h"
#include "speed/ui/baudratewindow.h"
#include "views/logwindow.h"
#include "views/logwindowregistry.h"
#include "views/texts.h"

#include <QAction>
#include <QPushButton>
#include <QTimer>

namespace ferrox {

ToolWindowsHookup::ToolWindowsHookup(QWidget *owner, const MainMenu &menu, ProgramSettings settings,
                                     Dialogs &dialogs, MonitorSession &state, LinkOwner &link,
                                     SignalSampler &sampler, LogWindowRegistry &logWindows, const QString &appFolder)
    : m_ownerWindow(owner),
      m_settings(settings),
      m_dialogs(dialogs),
      m_state(state),
      m_owner(link),
      m_sampler(sampler),
      m_logWindows(logWindows),
      m_appFolder(appFolder),
      m_about(new AboutBox(owner)),
      m_help(new HelpCommands(owner, dialogs, helpFolder()))
{
    connect(menu.rateMeasure, &QAction::triggered, this, &ToolWindowsHookup::openMeasurement);
    connect(menu.modify, &QAction::triggered, this, &ToolWindowsHookup::openEditor);
    connect(menu.helpAbout, &QAction::triggered, m_about, &AboutBox::show);
    connect(menu.helpContents, &QAction::triggered, m_help, &HelpCommands::showContents);
    connect(menu.helpSearch, &QAction::triggered, m_help, &HelpCommands::showSearch);
    // Revealed for the rest of the run.
    connect(m_about, &AboutBox::editorRevealed, this, [&menu] {
        menu.modifySeparator->setVisible(true);
        menu.modify->setVisible(true);
    });
}

void ToolWindowsHookup::openMeasurement()
{
    MeasurementSurroundings surroundings{
        [this] { return m_state.MonitorBusy(); },
        [this] { return m_state.SimpleMonitorOpen(); },
        [this] { return m_sampler.isSamplingEnabled(); },
        [this](bool on) { m_sampler.setSamplingEnabled(on); },
    };
    auto *measurement = new BaudRateWindow(m_owner, std::move(surroundings), m_ownerWindow);
    // The window is modal: while it is open the program measures or waits to.
    m_state.setMeasuring(true);
    connect(measurement, &QDialog::finished, this, [this] { m_state.setMeasuring(false); });
    measurement->open();
}

void ToolWindowsHookup::openEditor()
{
    (new ModifyWindow(*this, m_settings, m_dialogs, m_appFolder, m_ownerWindow))->show();
}

CaptureBuffer ToolWindowsHookup::captureBuffer() const
{
    return m_state.data().capture;
}

bool ToolWindowsHookup::replaceStream(const CaptureBuffer &capture)
{
    // The editor has no use for the sequence errors: only the data file
    // follows the stream.
    appendToNewestLog(viewtexts::examiningData());
    CaptureFiles files;
    files.dataPath = dataFilePath();
    // No arrival times beside an edited stream: a stale sidecar would date
    // bytes the editor changed.
    const StoredCapture stored = storeCapture({capture, {}, std::nullopt}, files);
    if (stored.empty)
        m_dialogs.inform(DataTexts::noMonitorData(), MessageIcon::Critical);
    for (const QString &failure : stored.failures)
        m_dialogs.inform(failure, MessageIcon::Critical);
    if (!stored.dataWritten)
        return false;
    takeStream(capture);
    return true;
}

void ToolWindowsHookup::reloadStream()
{
    appendToNewestLog(viewtexts::loadingData());
    const LoadResult loaded = LoadMonitorData(dataFilePath());
    if (!loaded.ok()) {
        // The stored stream is still in memory; only the file went away.
        m_dialogs.inform(loaded.message, MessageIcon::Critical);
        return;
    }
    takeStream(loaded.capture);
}

void ToolWindowsHookup::takeStream(const CaptureBuffer &capture)
{
    // The current data's name stays; its arrival times no longer belong to it.
    MonitorData data = m_state.data();
    data.capture = capture;
    data.times.reset();
    m_state.setCurrentData(data);
}

void ToolWindowsHookup::appendToNewestLog(const QString &text)
{
    if (LogWindow *log = m_logWindows.newest())
        log->appendText(text);
}

QString ToolWindowsHookup::dataFilePath() const
{
    return m_appFolder + monitorDataFileName();
}

} // namespace ferrox
