#include "jsonrecords.h"

#include <QDateTime>

#include <chrono>

namespace ferrox::cli {

CliOption resultFormatOption()
{
    return {QStringLiteral("format"), QStringLiteral("text|json"),
            QStringLiteral("text lines (default) or one JSON object a line, with its time in UTC")};
}

std::optional<bool> readJsonChosen(CliArguments &args)
{
    const QString format = args.value(QStringLiteral("format"), QStringLiteral("text"));
    if (format == QLatin1String("text") || format == QLatin1String("json"))
        return format == QLatin1String("json");
    args.usageError(QStringLiteral("--format takes text or json"));
    return std::nullopt;
}

QByteArray jsonRecordNow(const QList<std::pair<QByteArray, QByteArray>> &fields)
{
    using namespace std::chrono;
    const qint64 micros = duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
    const QDateTime second = QDateTime::fromSecsSinceEpoch(micros / 1000000, Qt::UTC);
    QByteArray line = "{\"time_utc\":\"" + second.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss")).toLatin1() + '.'
        + QByteArray::number(micros % 1000000).rightJustified(6, '0') + "Z\"";
    for (const auto &[name, value] : fields)
        line += ",\"" + name + "\":" + value;
    return line + "}\n";
}

} // namespace ferrox::cli
