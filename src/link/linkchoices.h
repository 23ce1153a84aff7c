#pragma once

#include <functional>

namespace ferrox {

class ConnectionCheck;
class Dialogs;
class LinkOwner;
class LinkPanel;

// What follows on the link when the user chooses a port, a link speed,
// RTS, DTR, a monitored speed or a direction (each choice is stored where
// it is made).
class LinkChoices
{
public:
    LinkChoices(ConnectionCheck &check, LinkOwner &owner, LinkPanel &panel, Dialogs &dialogs);

    // The simple monitor's part, once it exists: closing its window, and
    // TP_Monitor taking a new monitor speed or direction.
    void setSimpleMonitorHooks(std::function<void()> closeSimpleMonitor, std::function<void()> tpMonitor);

    // "通信確認": clear the status line, check, then close the simple
    // monitor when it is on. Ignored while a check is pending.
    void checkRequested();
    // A port picked from the list: open it and check (see ConnectionCheck::choosePort).
    void portChosen();
    // A link speed picked: the port takes it at once; the board's jumper
    // must follow, which the user is told. No check runs.
    void linkSpeedChosen();
    // A monitor speed or direction picked: a running simple monitor restarts with it.
    void monitorChoiceMade();

private:
    ConnectionCheck &m_check;
    LinkOwner &m_owner;
    LinkPanel &m_panel;
    Dialogs &m_dialogs;
    std::function<void()> m_closeSimpleMonitor;
    std::function<void()> m_tpMonitor;
};

} // namespace ferrox
