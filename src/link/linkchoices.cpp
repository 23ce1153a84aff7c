#include "linkchoices.h"

#include "connectioncheck.h"
#include "checkexchange.h"
#include "linkpanel.h"
#include "platform/dialogs.h"
#include "platform/statusreport.h"
#include "texts.h"

namespace ferrox {

LinkChoices::LinkChoices(ConnectionCheck &check, LinkOwner &owner, LinkPanel &panel, Dialogs &dialogs)
    : m_check(check), m_owner(owner), m_panel(panel), m_dialogs(dialogs)
{
}

void LinkChoices::setSimpleMonitorHooks(std::function<void()> closeSimpleMonitor,
                                        std::function<void()> tpMonitor)
{
    m_closeSimpleMonitor = std::move(closeSimpleMonitor);
    m_tpMonitor = std::move(tpMonitor);
}

void LinkChoices::checkRequested()
{
    if (m_owner.pending(CheckKind))
        return;
    ReportStatus(m_panel.statusPanel(), 1, QString(), 0);
    m_check.check(ConnectionCheck::Origin::UserAsked, [this] {
        if (m_panel.simpleMonitorOn() && m_closeSimpleMonitor)
            m_closeSimpleMonitor();
    });
}

void LinkChoices::portChosen()
{
    m_check.choosePort();
}

void LinkChoices::linkSpeedChosen()
{
    const std::optional<int> linkSpeed = m_panel.settings().linkSpeed;
    m_owner.request({}, [linkSpeed](const LinkLease &lease) {
        lease.runScript(linkSpeedScript(linkSpeed), [lease](const LinkScriptResult &) { lease.end(); });
    });
    m_dialogs.inform(linktext::jumperMessage(), MessageIcon::Information);
}

void LinkChoices::monitorChoiceMade()
{
    if (m_tpMonitor)
        m_tpMonitor();
}

} // namespace ferrox
