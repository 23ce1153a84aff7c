#include "textfields.h"

namespace ferrox {

QByteArray csvField(const QString &text)
{
    if (!text.contains(u',') && !text.contains(u'"'))
        return text.toUtf8();
    QString quoted = text;
    return '"' + quoted.replace(u'"', QStringLiteral("\"\"")).toUtf8() + '"';
}

QByteArray jsonString(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size() + 2);
    for (const QChar c : text) {
        if (c == u'\\' || c == u'"')
            escaped += u'\\' + QString(c);
        else if (c.unicode() < 0x20)
            escaped += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            escaped += c;
    }
    return '"' + escaped.toUtf8() + '"';
}

} // namespace ferrox
