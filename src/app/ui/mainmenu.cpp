#include "mainmenu.h"

#include "app/texts.h"
#include "settings/settingsschema.h"

#include <QMenu>
#include <QMenuBar>

#include <initializer_list>

namespace ferrox {

namespace {

enum Flag { Plain = 0, Disabled = 1, Hidden = 2, Checked = 4 };

// A menu item; an entry without a caption is a separator.
struct Entry
{
    const char *name;
    const QString *caption;
    int flags = Plain;
    QKeySequence shortcut = {};
};

void addMenu(QMenuBar *menuBar, const char *name, const QString &title,
             std::initializer_list<Entry> entries)
{
    auto *menu = new QMenu(title, menuBar);
    menu->setObjectName(QLatin1String(name));
    for (const Entry &entry : entries) {
        QAction *action = entry.caption ? menu->addAction(*entry.caption) : menu->addSeparator();
        if (entry.name)
            action->setObjectName(QLatin1String(entry.name));
        action->setShortcut(entry.shortcut);
        action->setEnabled(!(entry.flags & Disabled));
        action->setVisible(!(entry.flags & Hidden));
        if (entry.flags & Checked) {
            action->setCheckable(true);
            action->setChecked(true);
        }
    }
    menuBar->addMenu(menu);
}

} // namespace

void buildMainMenu(QMenuBar *menuBar)
{
    using namespace apptext;
    addMenu(menuBar, "mnuFile", FileMenu,
            {{"mnuFileOpenDataFile", &FileOpenDataFile, Plain, QKeySequence(Qt::CTRL | Qt::Key_O)},
             {"mnuFileSaveDataFile", &FileSaveDataFile, Disabled, QKeySequence(Qt::CTRL | Qt::Key_S)},
             {"mnuFileExportData", &FileExportData, Disabled},
             {nullptr, nullptr},
             {"mnuFileOpenTextFile", &FileOpenTextFile},
             {"mnuFileSaveTextFile", &FileSaveTextFile, Disabled},
             {nullptr, nullptr},
             {"mnuFilePageSetup", &FilePageSetup},
             {"mnuFilePrint", &FilePrint, Disabled},
             {nullptr, nullptr},
             {"mnuFileExit", &FileExit}});
    addMenu(menuBar, "mnuMonitor", MonitorMenu,
            {{"mnuMonitorStart", &MonitorStart},
             {"mnuMonitorStop", &MonitorStop},
             {"mnuMonitorTemp", &MonitorTemp},
             {"mnuMonitorBar1", nullptr},
             {"mnuRateMeasure", &RateMeasure, Disabled},
             {"mnuMonitorBar2", nullptr, Hidden},
             {"mnuModify", &Modify, Hidden}});
    // The display commands are named as the display modes are listed.
    static const QString displayModes[] = {displayModeText(1), displayModeText(2), displayModeText(3),
                                           displayModeText(4), displayModeText(5)};
    addMenu(menuBar, "mnuDpOpen", ShowLogMenu,
            {{"mnuMonitorLogOpen1", &displayModes[0]},
             {"mnuMonitorLogOpen2", &displayModes[1]},
             {"mnuMonitorLogOpen3", &displayModes[2]},
             {"mnuMonitorLogOpen4", &displayModes[3]},
             {"mnuMonitorLogOpen5", &displayModes[4]},
             {nullptr, nullptr},
             {"mnuMonitorLogTimeline", &ShowTimeline},
             {"mnuMonitorLogFrames", &ShowFrames}});
    addMenu(menuBar, "mnuView", ViewMenu,
            {{"mnuViewSetting", &ViewSetting, Checked},
             {"mnuViewToolbar", &ViewToolbar, Checked},
             {"mnuViewStatusBar", &ViewStatusBar, Checked},
             {nullptr, nullptr},
             {"mnuViewDirectionColors", &ViewDirectionColors},
             {"mnuViewPrintColors", &ViewPrintColors}});
    addMenu(menuBar, "mnuWindow", WindowMenu,
            {{"mnuWindowCascade", &WindowCascade},
             {"mnuWindowTileHorizontal", &WindowTileHorizontal},
             {"mnuWindowTileVertical", &WindowTileVertical},
             {"mnuWindowArrangeIcons", &WindowArrangeIcons}});
    addMenu(menuBar, "mnuHelp", HelpMenu,
            {{"mnuHelpContents", &HelpContents, Plain, QKeySequence(QKeySequence::HelpContents)},
             {"mnuHelpSearchForHelpOn", &HelpSearch},
             {nullptr, nullptr},
             {"mnuHelpAbout", &HelpAbout}});
}

} // namespace ferrox
