#include "directioncolorsswitch.h"

#include "platform/settingsstore.h"
#include "views/ui/logwindowarea.h"

#include <QAction>

namespace ferrox {

namespace {
const QString application = QStringLiteral("ferrox");
const QString section = QStringLiteral("LogView");
const QString key = QStringLiteral("DirectionColors");
} // namespace

void connectDirectionColorsSwitch(QAction &toggle, SettingsStore &store, LogWindowArea &windows)
{
    const bool on = store.GetSetting(application, section, key, QStringLiteral("1")).trimmed() != u"0";
    toggle.setCheckable(true);
    toggle.setChecked(on);
    windows.setDirectionColors(on);
    QObject::connect(&toggle, &QAction::toggled, &toggle, [&store, &windows](bool checked) {
        store.SaveSetting(application, section, key, checked ? QStringLiteral("1") : QStringLiteral("0"));
        windows.setDirectionColors(checked);
    });
}

} // namespace ferrox
