#include "linkcontroller.h"

#include "mainwindow.h"
#include "settingspanel.h"

#include <QComboBox>
#include <QPushButton>

namespace ferrox {

LinkController::LinkController(MainWindow &window, LinkOwner &owner, const MonitorSession &state,
                               SignalSampler &sampler)
    : QObject(),
      m_panel(window, state, sampler),
      m_check(owner, m_panel, window.dialogs(), window.settings()),
      m_choices(m_check, owner, m_panel, window.dialogs())
{
    SettingsPanel *panel = window.settingsPanel();
    // The panel stores each choice first (its own connections came earlier).
    connect(panel->portCheckButton(), &QPushButton::clicked, this, [this] { m_choices.Cmd_Port_Check_Click(); });
    connect(panel->comPort(), &QComboBox::activated, this, [this] { m_choices.Combo_Com_port_Click(); });
    connect(panel->comPort(), &PortCombo::devicePathEntered, this, [this] { m_choices.Combo_Com_port_Click(); });
    connect(panel->pcSpeed(), &QComboBox::activated, this, [this] { m_choices.Combo_PC_speed_Click(); });
    connect(panel->monitorSpeed(), &QComboBox::activated, this, [this] { m_choices.monitorChoiceMade(); });
    connect(panel->direction(), &QComboBox::activated, this, [this] { m_choices.monitorChoiceMade(); });
    // The board is left stopped and the port closed.
    connect(&window, &MainWindow::closing, this, [&owner] { owner.shutdown(); });
}

void LinkController::startUp(std::function<void()> done)
{
    m_check.startUp(std::move(done));
}

} // namespace ferrox
