#include "liveprinter.h"

#include "clioutput.h"

#include "timeline/exportformats.h"

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

// One record per run of one sender's bytes.
QByteArray pcapRecords(const std::vector<LiveByte> &bytes, qint64 epochMicros)
{
    QByteArray records;
    QByteArray run;
    for (std::size_t first = 0; first < bytes.size();) {
        const Direction sender = bytes[first].sender;
        std::size_t end = first;
        run.clear();
        for (; end < bytes.size() && bytes[end].sender == sender; ++end)
            run.append(static_cast<char>(bytes[end].value));
        appendPcapRecord(records, sender, run, epochMicros);
        first = end;
    }
    return records;
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

LivePrinter::LivePrinter(int fd, LiveForm form, int gapMs, QObject *parent)
    : QObject(parent), m_output(fd), m_lines(linesFor(form, gapMs))
{
    if (!m_lines) {
        m_output.write(pcapFileHeader());
        return;
    }
    m_gap.setSingleShot(true);
    m_gap.setTimerType(Qt::PreciseTimer);
    m_gap.setInterval(gapMs);
    connect(&m_gap, &QTimer::timeout, this, [this] { m_output.write(m_lines->flush()); });
}

void LivePrinter::feed(const std::vector<LiveByte> &bytes, qint64 epochMicros)
{
    if (!m_lines) {
        m_output.write(pcapRecords(bytes, epochMicros));
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
    if (m_lines && m_lines->hasPending())
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
