#pragma once

#include "windowlinkpanel.h"

#include "link/connectioncheck.h"
#include "link/linkchoices.h"
#include "link/linkowner.h"

#include <QObject>

namespace ferrox {

class MainWindow;
class SerialPort;
class Session;

// The main window's link to the board: the one owner of the link port, the
// connection check and the handlers of the link choices, wired to the
// window's controls. Made and owned by the Session, which the rest of the
// program asks instead.
class LinkController : public QObject
{
    Q_OBJECT
public:
    // port stays the caller's and must outlive this controller; the
    // session tells whether a capture or the simple monitor runs.
    LinkController(MainWindow &window, SerialPort &port, const Session &session);

    LinkOwner &owner() { return m_owner; }
    ConnectionCheck &check() { return m_check; }
    LinkChoices &choices() { return m_choices; }

    // Start-up: open the port, run the first check, tell the user when no
    // board answered. done runs when that is over.
    void startUp(std::function<void()> done = {});

private:
    WindowLinkPanel m_panel;
    LinkOwner m_owner;
    ConnectionCheck m_check;
    LinkChoices m_choices;
};

} // namespace ferrox
