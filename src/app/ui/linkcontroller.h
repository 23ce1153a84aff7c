#pragma once

#include "windowlinkpanel.h"

#include "link/connectioncheck.h"
#include "link/linkchoices.h"
#include "link/linkowner.h"

#include <QObject>

namespace ferrox {

class Dialogs;
class SettingsPanel;
class MonitorSession;
class SignalSampler;

// The main window's link to the board: the connection check and the
// handlers of the link choices on the link owner, wired to the settings
// panel's controls.
class LinkController : public QObject
{
    Q_OBJECT
public:
    // Everything passed stays the caller's and must outlive this
    // controller; the monitor session tells whether a capture or the
    // simple monitor runs.
    // rateMeasure: the menu item "mnuRateMeasure"; settings: the program's
    // store.
    LinkController(SettingsPanel &panel, QAction *rateMeasure, StatusPanel &status, Dialogs &dialogs,
                   ProgramSettings settings, LinkOwner &owner, MonitorSession &state, SignalSampler &sampler);


    ConnectionCheck &check() { return m_check; }
    LinkChoices &choices() { return m_choices; }

    // Start-up: open the port, run the first check, tell the user when no
    // board answered. done runs when that is over.
    void startUp(std::function<void()> done = {});

private:
    WindowLinkPanel m_panel;
    ConnectionCheck m_check;
    LinkChoices m_choices;
};

} // namespace ferrox
