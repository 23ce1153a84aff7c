#include "maintoolbar.h"

#include "app/base/texts.h"

#include <QStyle>

namespace ferrox {

namespace {

QAction *addButton(QToolBar *bar, const QString &key, const QString &caption, const QString &tip,
                   QStyle::StandardPixmap icon)
{
    QAction *action = bar->addAction(bar->style()->standardIcon(icon), caption);
    action->setObjectName(key);
    if (!tip.isEmpty())
        action->setToolTip(tip);
    return action;
}

} // namespace

MainToolBar::MainToolBar(QWidget *parent) : QToolBar(parent)
{
    using namespace apptext;
    setObjectName(QStringLiteral("tbToolBar"));
    setMovable(false);
    setFloatable(false);
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);

    m_start = addButton(this, StartKey, StartCaption, StartTip, QStyle::SP_MediaPlay);
    m_stop = addButton(this, StopKey, StopCaption, StopTip, QStyle::SP_MediaStop);
    addSeparator();
    addSeparator();
    m_settings = addButton(this, SettingsKey, SettingsKey, {}, QStyle::SP_FileDialogDetailedView);
    m_settings->setCheckable(true);
    m_settings->setChecked(true);
    addSeparator();
    m_simpleMonitor = addButton(this, SimpleMonitorKey, SimpleMonitorKey, {}, QStyle::SP_ComputerIcon);
    m_simpleMonitor->setCheckable(true);
}

void MainToolBar::setStartEnabled(bool enabled)
{
    m_start->setEnabled(enabled);
    m_stop->setEnabled(!enabled);
}

} // namespace ferrox
