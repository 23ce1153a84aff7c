#include "mainmenu.h"

#include "app/base/texts.h"
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
    QAction **item = nullptr; // where the item is kept, if anyone switches it
    int flags = Plain;
    QKeySequence shortcut = {};
};

QMenu *addMenu(QMenuBar *menuBar, const char *name, const QString &title,
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
        if (entry.item)
            *entry.item = action;
    }
    menuBar->addMenu(menu);
    return menu;
}

} // namespace

MainMenu buildMainMenu(QMenuBar *menuBar)
{
    using namespace apptext;
    MainMenu m;
    addMenu(menuBar, "mnuFile", FileMenu,
            {{"mnuFileOpenDataFile", &FileOpenDataFile, &m.openDataFile, Plain, QKeySequence(Qt::CTRL | Qt::Key_O)},
             {"mnuFileSaveDataFile", &FileSaveDataFile, &m.saveDataFile, Disabled, QKeySequence(Qt::CTRL | Qt::Key_S)},
             {"mnuFileExportData", &FileExportData, &m.exportData, Disabled},
             {nullptr, nullptr},
             {"mnuFileOpenTextFile", &FileOpenTextFile, &m.openTextFile},
             {"mnuFileSaveTextFile", &FileSaveTextFile, &m.saveTextFile, Disabled},
             {nullptr, nullptr},
             {"mnuFilePageSetup", &FilePageSetup, &m.pageSetup},
             {"mnuFilePrint", &FilePrint, &m.print, Disabled},
             {nullptr, nullptr},
             {"mnuFileExit", &FileExit, &m.exit}});
    addMenu(menuBar, "mnuMonitor", MonitorMenu,
            {{"mnuMonitorStart", &MonitorStart, &m.monitorStart},
             {"mnuMonitorStop", &MonitorStop, &m.monitorStop},
             {"mnuMonitorTemp", &MonitorTemp, &m.monitorTemp},
             {"mnuLongCaptureOpen", &LongCaptureOpen, &m.longCaptureOpen, Disabled},
             {"mnuMonitorBar1", nullptr},
             {"mnuRateMeasure", &RateMeasure, &m.rateMeasure, Disabled},
             {"mnuMonitorBar2", nullptr, &m.modifySeparator, Hidden},
             {"mnuModify", &Modify, &m.modify, Hidden}});
    // The display commands are named as the display modes are listed.
    static const QString displayModes[] = {displayModeText(1), displayModeText(2), displayModeText(3),
                                           displayModeText(4), displayModeText(5)};
    m.display = addMenu(menuBar, "mnuDpOpen", ShowLogMenu,
                        {{"mnuMonitorLogOpen1", &displayModes[0], &m.displayModes[0]},
                         {"mnuMonitorLogOpen2", &displayModes[1], &m.displayModes[1]},
                         {"mnuMonitorLogOpen3", &displayModes[2], &m.displayModes[2]},
                         {"mnuMonitorLogOpen4", &displayModes[3], &m.displayModes[3]},
                         {"mnuMonitorLogOpen5", &displayModes[4], &m.displayModes[4]},
                         {nullptr, nullptr},
                         {"mnuMonitorLogTimeline", &ShowTimeline, &m.timeline},
                         {"mnuMonitorLogFrames", &ShowFrames, &m.frames}});
    addMenu(menuBar, "mnuView", ViewMenu,
            {{"mnuViewSetting", &ViewSetting, &m.viewSetting, Checked},
             {"mnuViewToolbar", &ViewToolbar, &m.viewToolbar, Checked},
             {"mnuViewStatusBar", &ViewStatusBar, &m.viewStatusBar, Checked},
             {nullptr, nullptr},
             {"mnuViewDirectionColors", &ViewDirectionColors, &m.viewDirectionColors},
             {"mnuViewPrintColors", &ViewPrintColors, &m.viewPrintColors}});
    m.window = addMenu(menuBar, "mnuWindow", apptext::WindowMenu,
                       {{"mnuWindowCascade", &WindowCascade, &m.windowItems.cascade},
                        {"mnuWindowTileHorizontal", &WindowTileHorizontal, &m.windowItems.tileHorizontal},
                        {"mnuWindowTileVertical", &WindowTileVertical, &m.windowItems.tileVertical},
                        {"mnuWindowArrangeIcons", &WindowArrangeIcons, &m.windowItems.arrangeIcons}});
    addMenu(menuBar, "mnuHelp", HelpMenu,
            {{"mnuHelpContents", &HelpContents, &m.helpContents, Plain, QKeySequence(QKeySequence::HelpContents)},
             {"mnuHelpSearchForHelpOn", &HelpSearch, &m.helpSearch},
             {nullptr, nullptr},
             {"mnuHelpAbout", &HelpAbout, &m.helpAbout}});
    return m;
}

} // namespace ferrox
