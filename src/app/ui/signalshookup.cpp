#include "signalshookup.h"

#include "settingspanel.h"

#include "platform/dialogs.h"
#include "platform/statusreport.h"
#include "session/monitorsession.h"
#include "signals/texts.h"
#include "signals/ui/signalpanel.h"
#include "views/ui/logtextview.h"
#include "views/ui/logwindowarea.h"

#include <QPushButton>

namespace ferrox {

SignalsHookup::SignalsHookup(SettingsPanel &settingsPanel, Dialogs &dialogs, StatusPanel &status, LinkOwner &owner,
                             MonitorSession &state, LogWindowArea &logArea)
    : m_sampler(owner, state, status)
{
    SignalPanel *panel = settingsPanel.signalPanel();
    panel->setSampler(&m_sampler);
    connect(panel, &SignalPanel::readRequested, this, [this, &logArea] {
        if (LogTextView *view = logArea.activeTextView())
            view->appendAtCaret(m_sampler.readoutLine());
    });
    connect(panel, &SignalPanel::indicatorHelpRequested, this, [&dialogs] {
        dialogs.inform(SignalTexts::indicatorHelp(), MessageIcon::Information);
    });
    connect(settingsPanel.linkOptionsHelpButton(), &QPushButton::clicked, this, [&dialogs] {
        dialogs.inform(SignalTexts::linkOptionsHelp(), MessageIcon::Information);
    });
    connect(&m_sampler, &SignalSampler::stoppedOnError, this, [&state] { state.setSimpleMonitorOpen(false); });
}

} // namespace ferrox
