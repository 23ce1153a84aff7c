#pragma once

#include "signals/signalsampler.h"

#include <QObject>

namespace ferrox {

class LinkOwner;
class LogWindowArea;
class Dialogs;
class SettingsPanel;
class StatusPanel;
class MonitorSession;

// The signal sampling on the main window: the sampler (its timer is
// "Timer1") samples through the link owner and reports on the
// window's status line; the signal panel shows it; "Command_READ" pastes
// the readout at the caret of the active monitor-log window (nothing when
// there is none); "Label_DBG" and "Command_Help" explain themselves. The
// sampling's stop path clears SimpleMonitorOpen.
class SignalsHookup : public QObject
{
    Q_OBJECT
public:
    // Everything passed stays the caller's and must outlive the hookup.
    SignalsHookup(SettingsPanel &panel, Dialogs &dialogs, StatusPanel &status, LinkOwner &owner,
                  MonitorSession &state, LogWindowArea &logArea);

    SignalSampler &sampler() { return m_sampler; }

private:
    SignalSampler m_sampler;
};

} // namespace ferrox
