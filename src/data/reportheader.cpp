#include "reportheader.h"

#include "cp932.h"
#include "texts.h"

namespace ferrox {

QString trimSpaces(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == QLatin1Char(' '))
        ++first;
    while (last > first && text[last - 1] == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

void WriteReportHeader(QByteArray &out, const ReportHeaderSettings &settings, qint32 DataByteCount)
{
    using namespace DataTexts;
    const QString crlf = QStringLiteral("\r\n");
    const QString text = settings.MainTitle + QStringLiteral("\r") + crlf
        + headerDataName() + settings.dataName + crlf
        + headerByteCount() + QString::number(DataByteCount) + headerByteUnit() + crlf + crlf
        + headerSettings() + crlf
        + headerPort() + trimSpaces(settings.port) + crlf
        + headerPcSpeed() + trimSpaces(settings.pcSpeed) + crlf
        + headerMonitorSpeed() + trimSpaces(settings.monitorSpeed) + crlf
        + headerDirection() + trimSpaces(settings.direction) + crlf
        + (settings.dataOnly ? headerWidth8() : headerWidth9()) + crlf + crlf;
    out += encodeCp932(text);
}

} // namespace ferrox
