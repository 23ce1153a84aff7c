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
        // A description that shows its patterns already is a whole filter.
        const QString shown = QLatin1Char('(') + patterns + QLatin1Char(')');
        filters << (parts[i].endsWith(shown) ? parts[i] : parts[i] + u' ' + shown);
    }
    return filters.join(QStringLiteral(";;"));
}

QString messageTitle(const QString &title)
{
    return title.isNull() ? QStringLiteral("ferrox") : title;
}

} // namespace ferrox
