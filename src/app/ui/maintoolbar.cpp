#include "maintoolbar.h"

#include "app/texts.h"

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

    addButton(this, StartKey, StartCaption, StartTip, QStyle::SP_MediaPlay);
    addButton(this, StopKey, StopCaption, StopTip, QStyle::SP_MediaStop);
    addSeparator();
    addSeparator();
    QAction *settings = addButton(this, SettingsKey, SettingsKey, {}, QStyle::SP_FileDialogDetailedView);
    settings->setCheckable(true);
    settings->setChecked(true);
    addSeparator();
    addButton(this, SimpleMonitorKey, SimpleMonitorKey, {}, QStyle::SP_ComputerIcon)->setCheckable(true);
}

QAction *MainToolBar::button(const QString &key) const
{
    for (QAction *action : actions()) {
        if (!action->isSeparator() && action->objectName() == key)
            return action;
    }
    return nullptr;
}

} // namespace ferrox
