#include "signalshookup.h"

#include "mainwindow.h"
#include "settingspanel.h"

#include "platform/dialogs.h"
#include "session/monitorsession.h"
#include "signals/texts.h"
#include "signals/ui/signalpanel.h"
#include "views/ui/logtextview.h"
#include "views/ui/logwindowarea.h"

#include <QPushButton>

namespace ferrox {

SignalsHookup::SignalsHookup(MainWindow &window, LinkOwner &owner, MonitorSession &state, LogWindowArea &logArea)
    : m_sampler(owner, state, window)
{
    SignalPanel *panel = window.settingsPanel()->signalPanel();
    panel->setSampler(&m_sampler);
    connect(panel, &SignalPanel::readRequested, this, [this, &logArea] {
        if (LogTextView *view = logArea.activeTextView())
            view->appendAtCaret(m_sampler.readoutLine());
    });
    connect(panel, &SignalPanel::indicatorHelpRequested, this, [&window] {
        window.dialogs().inform(SignalTexts::indicatorHelp(), MessageIcon::Information);
    });
    connect(window.settingsPanel()->linkOptionsHelpButton(), &QPushButton::clicked, this, [&window] {
        window.dialogs().inform(SignalTexts::linkOptionsHelp(), MessageIcon::Information);
    });
    connect(&m_sampler, &SignalSampler::stoppedOnError, this, [&state] { state.setSimpleMonitorOpen(false); });
}

} // namespace ferrox
