#include "logwindowshookup.h"

#include "app/ui/colorbox.h"
#include "app/ui/mainmenu.h"
#include "app/ui/settingspanel.h"
#include "data/datafiles.h"
#include "frames/ui/framewindow.h"
#include "session/monitorsession.h"
#include "views/ui/directioncolorsswitch.h"
#include "views/ui/windowmenu.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>

namespace ferrox {

LogWindowsHookup::LogWindowsHookup(const Items &items, MonitorSession &session, const QString &appFolder)
    : QObject(items.owner), m_items(items), m_session(session), m_data(session.data()), m_appFolder(appFolder),
      m_area(*items.area, *items.status),
      m_files(m_area, *items.dialogs, *items.settings, *items.status),
      m_monitorLog(m_area.registry(), m_data, *this, *items.dialogs, *items.settings, *items.status, appFolder),
      m_windowMenu(new WindowMenu(*items.area, *items.menu->window, items.menu->windowItems, this))
{
    m_area.registry().setListener(this);
    connectCommands();
    connectDirectionColorsSwitches(*items.menu->viewDirectionColors, *items.menu->viewPrintColors,
                                   items.settings->store(), m_area);
}

void LogWindowsHookup::connectCommands()
{
    const MainMenu &menu = *m_items.menu;
    const auto onMenu = [this](QAction *item, auto slot) { connect(item, &QAction::triggered, this, slot); };
    onMenu(menu.openTextFile, [this] { m_files.openTextFile(); });
    onMenu(menu.saveTextFile, [this] { m_files.saveTextFile(); });
    onMenu(menu.pageSetup, [this] { m_files.pageSetup(); });
    onMenu(menu.print, [this] { m_files.print(); });
    onMenu(menu.openDataFile, [this] { m_monitorLog.openDataFile(); });
    onMenu(menu.saveDataFile, [this] {
        if (m_area.activeChild())
            m_monitorLog.saveDataFile();
    });
    onMenu(menu.exportData, [this] { m_monitorLog.exportData(framerOptions()); });
    onMenu(menu.timeline, [this] { m_monitorLog.displayTimeline(); });
    onMenu(menu.frames, [this] { displayFrames(); });
    for (int k = 1; k <= SettingsPanel::DisplayButtonCount; ++k) {
        QAction *item = menu.displayModes.at(k - 1);
        const auto display = [this, k, item] { m_monitorLog.displayLog(k, item->text()); };
        connect(item, &QAction::triggered, this, display);
        connect(m_items.panel->displayButton(k - 1), &QPushButton::clicked, this, display);
    }
}

FramerOptions LogWindowsHookup::framerOptions() const
{
    const MonitorSettings &settings = m_session.settings();
    FramerOptions options;
    options.monitoredBaud = settings.monitoredSpeed.value_or(0);
    options.bitsPerCharacter = settings.dataWidth == DataWidth::DataOnly ? 10 : 11;
    return options;
}

void LogWindowsHookup::displayFrames()
{
    auto *frames = new FrameWindow(assembleMonitoredBytes(m_data.capture), m_data.times, framerOptions(), *m_items.dialogs,
                                   *m_items.settings, *m_items.status);
    // The data is the program's "rs_data.dat" and, when opened from one, its data file.
    QStringList shown {m_appFolder + monitorDataFileName()};
    if (QFileInfo(m_data.CaptureTimestamp).isAbsolute()) {
        shown << m_data.CaptureTimestamp;
        frames->showSeriesOf(m_data.CaptureTimestamp); // one file of a split capture: its series
    }
    frames->setShownDataFiles(shown);
    frames->setAttribute(Qt::WA_DeleteOnClose);
    frames->setWindowTitle(frames->windowTitle() + QStringLiteral(" - ") + m_data.CaptureTimestamp);
    QMdiSubWindow *sub = m_area.mdiArea().addSubWindow(frames);
    sub->setGeometry(QRect(QPoint(0, 0), m_area.mdiArea().size() * 0.9)); // a table and a chart want room
    sub->show();
}

ReportHeaderSettings LogWindowsHookup::reportHeaderSettings() const
{
    return headerSettingsOf(m_session.settings());
}

QString LogWindowsHookup::displayModeText() const
{
    return m_items.panel->displayModeCaption(m_session.settings().displayMode);
}

void LogWindowsHookup::setDataCommandsEnabled(bool enabled)
{
    m_session.setHasCurrentData(enabled);
}

void LogWindowsHookup::setCurrentData(const MonitorData &data)
{
    m_session.setCurrentData(data);
}

void LogWindowsHookup::setMainCaption(const QString &caption)
{
    m_items.owner->setWindowTitle(caption);
}

void LogWindowsHookup::setReceiveLampColor(const QColor &color)
{
    m_items.panel->receiveLamp()->setColor(color);
}

void LogWindowsHookup::showOpenLogWindowCount(qint32 count)
{
    m_items.panel->openLogCountLabel()->setText(QString::number(count));
}

void LogWindowsHookup::setLogTextCommandsEnabled(bool enabled)
{
    m_items.menu->saveTextFile->setEnabled(enabled);
    m_items.menu->print->setEnabled(enabled);
}

} // namespace ferrox
