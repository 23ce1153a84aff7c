#include "dialogs.h"

#include <QStringList>

namespace ferrox {

Dialogs::~Dialogs() = default;

QString qtFileFilter(const QString &programFilter)
{
    const QStringList parts = programFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty() && parts[i + 1].isEmpty())
            continue;
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

QString messageTitle(const QString &title)
{
    return title.isEmpty() ? QStringLiteral("ferrox") : title;
}

} // namespace ferrox
