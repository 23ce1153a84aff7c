#include "liveprinter.h"

#include "clioutput.h"

#include "timeline/exportformats.h"

#include <QtGlobal>

#include <algorithm>
#include <memory>

namespace ferrox::cli {

namespace {

std::optional<LiveTextLines> linesFor(LiveForm form, int gapMs)
{
    const qint64 gapMicros = qint64(gapMs) * 1000;
    switch (form) {
    case LiveForm::Lines: return LiveTextLines(LiveTextLines::Form::Lines, gapMicros);
    case LiveForm::Hex: return LiveTextLines(LiveTextLines::Form::Hex, gapMicros);
    case LiveForm::Text: return LiveTextLines(LiveTextLines::Form::Text, gapMicros);
    case LiveForm::Pcap: break;
    }
    return std::nullopt;
}

} // namespace

std::optional<LiveForm> liveFormNamed(const QString &name)
{
    if (name == QLatin1String("lines"))
        return LiveForm::Lines;
    if (name == QLatin1String("hex"))
        return LiveForm::Hex;
    if (name == QLatin1String("text"))
        return LiveForm::Text;
    if (name == QLatin1String("pcap"))
        return LiveForm::Pcap;
    return std::nullopt;
}

FramerOptions pcapRecordRule(const MonitorSettings &line, std::optional<qint64> gapMicros)
{
    FramerOptions rule;
    rule.gapMicros = gapMicros;
    if (line.monitoredSpeed)
        rule.monitoredBaud = *line.monitoredSpeed;
    rule.bitsPerCharacter = line.dataWidth == DataWidth::DataAndParity ? 11 : 10;
    return rule;
}

LivePrinter::LivePrinter(int fd, LiveForm form, int gapMs, QObject *parent)
    : QObject(parent), m_output(fd), m_lines(linesFor(form, gapMs))
{
    Q_ASSERT(m_lines);
    connect(&m_gap, &QTimer::timeout, this, [this] { m_output.write(m_lines->flush()); });
    setGap(qint64(gapMs) * 1000);
}

LivePrinter::LivePrinter(int fd, const FramerOptions &records, std::shared_ptr<const FrameDecoder> decoder,
                         QObject *parent)
    : QObject(parent), m_output(fd), m_records(std::in_place, records, std::move(decoder))
{
    m_output.write(pcapFileHeader());
    connect(&m_gap, &QTimer::timeout, this, &LivePrinter::onQuiet);
    setGap(m_records->gapMicros());
}

void LivePrinter::setGap(qint64 gapMicros)
{
    // Never sooner than the gap: a record cut early would split a message.
    m_gap.setSingleShot(true);
    m_gap.setTimerType(Qt::PreciseTimer);
    m_gapMs = int(std::max<qint64>(1, (gapMicros + 999) / 1000));
    m_gap.setInterval(m_gapMs);
}

void LivePrinter::writeRecords(const QList<LiveFrame> &frames)
{
    // As one piece: a reader behind loses whole records.
    QByteArray records;
    for (const LiveFrame &frame : frames)
        appendPcapRecord(records, frame.sender, frame.values, frame.firstMicros);
    if (!records.isEmpty())
        m_output.write(records);
}

void LivePrinter::onQuiet()
{
    // The line has been quiet since the last read: the record ends if the
    // framer would take this silence as a frame's end. Times too coarse for
    // the gap end nothing, so ask again, less often the longer it lasts.
    const qint64 quietMicros = m_sinceFeed.nsecsElapsed() / 1000;
    writeRecords(m_records->takeIfQuietUntil(m_records->lastMicros() + quietMicros));
    if (m_records->isHolding())
        m_gap.start(int(std::clamp<qint64>(quietMicros / 1000, m_gapMs, 1000)));
}

void LivePrinter::feed(const std::vector<LiveByte> &bytes, qint64 epochMicros)
{
    if (m_records) {
        if (bytes.empty())
            return;
        QList<LiveFrame> ended;
        // The read's runs of one sender, each judged whole.
        QByteArray run;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            run.append(char(bytes[i].value));
            if (i + 1 < bytes.size() && bytes[i + 1].sender == bytes[i].sender)
                continue;
            ended += m_records->take(bytes[i].sender, run, epochMicros);
            run.clear();
        }
        writeRecords(ended);
        m_sinceFeed.start();
        if (m_records->isHolding())
            m_gap.start(m_gapMs);
        return;
    }
    const QByteArray lines = m_lines->feed(bytes, epochMicros);
    if (!lines.isEmpty())
        m_output.write(lines);
    if (m_lines->hasPending())
        m_gap.start();
}

void LivePrinter::finish()
{
    m_gap.stop();
    if (m_records)
        writeRecords(m_records->flush());
    else if (m_lines->hasPending())
        m_output.write(m_lines->flush());
    m_output.finish();
}

void endAfterLiveOutputs(const QList<LivePrinter *> &printers, int status)
{
    auto writing = std::make_shared<qsizetype>(0);
    for (LivePrinter *printer : printers) {
        if (!printer->output().isFinishing())
            continue;
        ++*writing;
        QObject::connect(&printer->output(), &LiveOutput::finished, [writing, status] {
            if (--*writing == 0)
                endEventLoop(status);
        });
    }
    if (*writing == 0)
        endEventLoop(status);
}

} // namespace ferrox::cli
