#include "arrivaltimes.h"

#include <QDateTime>
#include <QRegularExpression>

#include <algorithm>
#include <chrono>

namespace ferrox {

std::optional<qint64> ArrivalTimes::microsAt(qint64 offset) const
{
    const auto after = std::upper_bound(arrivals.cbegin(), arrivals.cend(), offset,
                                        [](qint64 o, const Arrival &a) { return o < a.offset; });
    if (after == arrivals.cbegin())
        return std::nullopt;
    return std::prev(after)->micros;
}

namespace {

qint64 wholeSecondsOf(qint64 epochMicros)
{
    return epochMicros >= 0 ? epochMicros / 1000000 : (epochMicros - 999999) / 1000000;
}

// ISO 8601 with microseconds, at a zone's offset from UTC.
QString zonedText(qint64 epochMicros, int utcOffsetSeconds)
{
    const qint64 seconds = wholeSecondsOf(epochMicros);
    const qint64 fraction = epochMicros - seconds * 1000000;
    const QDateTime local = QDateTime::fromSecsSinceEpoch(seconds, Qt::OffsetFromUTC, utcOffsetSeconds);
    const int zone = std::abs(utcOffsetSeconds) / 60;
    return local.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss")) + u'.'
        + QString::number(fraction).rightJustified(6, u'0') + (utcOffsetSeconds < 0 ? u'-' : u'+')
        + QString::number(zone / 60).rightJustified(2, u'0') + u':' + QString::number(zone % 60).rightJustified(2, u'0');
}

} // namespace

QString ArrivalTimes::startText() const
{
    return zonedText(startEpochMicros, startUtcOffsetSeconds);
}

QString ArrivalTimes::localStartText() const
{
    const int offset = QDateTime::fromSecsSinceEpoch(wholeSecondsOf(startEpochMicros), Qt::LocalTime).offsetFromUtc();
    return zonedText(startEpochMicros, offset);
}

QString ArrivalTimes::linkLostText() const
{
    return linkLostEpochMicros ? zonedText(*linkLostEpochMicros, startUtcOffsetSeconds) : QString();
}

bool ArrivalTimes::setLinkLostText(QStringView text)
{
    ArrivalTimes loss;
    if (!loss.setStartText(text))
        return false;
    linkLostEpochMicros = loss.startEpochMicros;
    return true;
}

bool ArrivalTimes::setStartText(QStringView text)
{
    static const QRegularExpression form(QStringLiteral(
        "^(\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d)(?:\\.(\\d{1,9}))?(?:(Z)|([+-])(\\d\\d):(\\d\\d))$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return false;
    int offset = 0;
    if (!match.hasCaptured(3)) {
        const int hours = match.capturedView(5).toInt();
        const int minutes = match.capturedView(6).toInt();
        if (hours > 18 || minutes > 59)
            return false;
        offset = (hours * 60 + minutes) * 60 * (match.capturedView(4) == u"-" ? -1 : 1);
    }
    const QDateTime wall = QDateTime::fromString(match.captured(1), QStringLiteral("yyyy-MM-dd'T'HH:mm:ss"));
    if (!wall.isValid())
        return false;
    const QDateTime zoned(wall.date(), wall.time(), Qt::OffsetFromUTC, offset);
    const QString fraction = (match.captured(2) + QStringLiteral("000000")).left(6);
    startEpochMicros = zoned.toSecsSinceEpoch() * 1000000 + fraction.toLongLong();
    startUtcOffsetSeconds = offset;
    return true;
}

void ArrivalRecorder::start()
{
    m_times = {};
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    m_times.startEpochMicros = std::chrono::duration_cast<std::chrono::microseconds>(now).count();
    m_times.startUtcOffsetSeconds = QDateTime::currentDateTime().offsetFromUtc();
    m_clock.start();
}

void ArrivalRecorder::note(qint64 offset)
{
    if (!m_times.arrivals.isEmpty() && offset <= m_times.arrivals.constLast().offset)
        return;
    m_times.arrivals.append({offset, elapsedMicros()});
}

} // namespace ferrox
