#include "linkcontroller.h"

#include "settingspanel.h"

#include <QComboBox>
#include <QPushButton>

namespace ferrox {

LinkController::LinkController(SettingsPanel &settingsPanel, QAction *rateMeasure, StatusPanel &status,
                               Dialogs &dialogs, ProgramSettings settings, LinkOwner &owner,
                               MonitorSession &state, SignalSampler &sampler)
    : QObject(),
      m_panel(settingsPanel, rateMeasure, status, state, sampler),
      m_check(owner, m_panel, dialogs, settings),
      m_choices(m_check, owner, m_panel, dialogs)
{
    SettingsPanel *panel = &settingsPanel;
    // The panel stores each choice first (its own connections came earlier).
    connect(panel->portCheckButton(), &QPushButton::clicked, this, [this] { m_choices.checkRequested(); });
    connect(panel->comPort(), &QComboBox::activated, this, [this] { m_choices.portChosen(); });
    connect(panel, &SettingsPanel::devicePathEntered, this, [this] { m_choices.portChosen(); });
    connect(panel->pcSpeed(), &QComboBox::activated, this, [this] { m_choices.linkSpeedChosen(); });
    connect(panel->monitorSpeed(), &QComboBox::activated, this, [this] { m_choices.monitorChoiceMade(); });
    connect(panel->direction(), &QComboBox::activated, this, [this] { m_choices.monitorChoiceMade(); });
}

void LinkController::startUp(std::function<void()> done)
{
    m_check.startUp(std::move(done));
}

} // namespace ferrox
