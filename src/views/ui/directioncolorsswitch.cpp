#include "directioncolorsswitch.h"

#include "platform/settingsstore.h"
#include "views/ui/logwindowarea.h"

#include <QAction>

#include <functional>

namespace ferrox {

namespace {

const QString application = QStringLiteral("ferrox");
const QString section = QStringLiteral("LogView");

void connectSwitch(QAction &toggle, SettingsStore &store, const QString &key, bool byDefault,
                   std::function<void(bool)> apply)
{
    const QString stored = store.GetSetting(application, section, key, QString()).trimmed();
    const bool on = stored == u"1" || (byDefault && stored != u"0");
    toggle.setCheckable(true);
    toggle.setChecked(on);
    apply(on);
    QObject::connect(&toggle, &QAction::toggled, &toggle, [&store, key, apply](bool checked) {
        store.SaveSetting(application, section, key, checked ? QStringLiteral("1") : QStringLiteral("0"));
        apply(checked);
    });
}

} // namespace

void connectDirectionColorsSwitches(QAction &screen, QAction &print, SettingsStore &store, LogWindowArea &windows)
{
    connectSwitch(screen, store, QStringLiteral("DirectionColors"), true,
                  [&windows](bool on) { windows.setDirectionColors(on); });
    connectSwitch(print, store, QStringLiteral("PrintColors"), false,
                  [&windows](bool on) { windows.setPrintColors(on); });
}

} // namespace ferrox
