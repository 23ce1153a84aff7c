#include "boardengine.h"

#include "traffic.h"

#include <algorithm>

namespace ferrox {

namespace {

// Monitor speed codes. Firmware V1.03 and later know ten speeds from 600
// baud; older firmware six from 4800 (0 = no code for that speed).
struct SpeedRow
{
    const char *text;
    char modernCode;
    char legacyCode;
};
constexpr SpeedRow speedTable[] = {
    {"   600", '0', 0},   {"  1200", '1', 0},   {"  2400", '2', 0},   {"  4800", '3', '0'},
    {"  9600", '4', '1'}, {" 14400", '5', 0},   {" 19200", '6', '2'}, {" 28800", '7', '3'},
    {" 38400", '8', '4'}, {" 57600", '9', '5'},
};
constexpr std::uint8_t endCode = 0xFF;
// Byte 1 of the signal reply; the program does not look at it.
constexpr std::uint8_t signalReplyFiller = 0x0D;

// bytes cut or padded with spaces to exactly size bytes.
QByteArray fitted(const QByteArray &bytes, qsizetype size)
{
    QByteArray result = bytes.left(size);
    result.append(size - result.size(), ' ');
    return result;
}

bool isOneOf(const QByteArray &firmware, std::initializer_list<const char *> versions)
{
    return std::any_of(versions.begin(), versions.end(),
                       [&](const char *v) { return firmware == QByteArray(v); });
}

char codeIn(const SpeedRow &row, bool modern)
{
    return modern ? row.modernCode : row.legacyCode;
}

} // namespace

BoardEngine::BoardEngine(const BoardConfig &config, const QByteArray &traffic, QObject *parent)
    : QObject(parent)
    , m_config([&config] {
        // Configs built in code skip the argument checks: keep them sane.
        BoardConfig c = config;
        c.firmware = fitted(config.firmware, 5);
        c.id = fitted(config.id, 9);
        c.rate = std::max(1, config.rate);
        c.replyLength = std::max(0, config.replyLength);
        return c;
    }())
    , m_traffic(traffic)
    , m_modernCodes(isOneOf(m_config.firmware, {"V1.03", "V1.04", "V1.05"}))
    , m_linkBaud(config.jumper)
    , m_speedCode(m_modernCodes ? '4' : '1') // 9600 baud until told otherwise
    , m_random(m_config.piecesSeed)
{
    for (const quint16 count : m_config.measureCounts) {
        m_records.append(static_cast<char>(count & 0xFF));
        m_records.append(static_cast<char>(count >> 8));
    }
    m_pacer.setTimerType(Qt::PreciseTimer);
    connect(&m_pacer, &QTimer::timeout, this, &BoardEngine::pace);
    m_pieceTimer.setSingleShot(true);
    m_pieceTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_pieceTimer, &QTimer::timeout, this, &BoardEngine::releasePieces);
    m_pieceClock.start();
}

void BoardEngine::setLinkSettings(const QString &settingsText)
{
    bool ok = false;
    const int baud = settingsText.section(QLatin1Char(','), 0, 0).trimmed().toInt(&ok);
    setLinkBaud(ok ? baud : 0);
}

void BoardEngine::setLinkBaud(int baud)
{
    m_linkBaud = baud;
}

bool BoardEngine::hearsLink() const
{
    return !m_config.silent && m_linkBaud == m_config.jumper;
}

QByteArray BoardEngine::monitorSpeedText() const
{
    for (const SpeedRow &row : speedTable) {
        if (codeIn(row, m_modernCodes) == m_speedCode)
            return QByteArray(row.text);
    }
    return QByteArray(6, ' '); // unreachable: only table codes are accepted
}

QByteArray BoardEngine::versionReply() const
{
    QByteArray reply = m_config.id + ' ' + m_config.firmware + monitorSpeedText() + '\r';
    return fitted(reply, m_config.replyLength);
}

bool BoardEngine::hasTrafficPending() const
{
    return isStreaming()
        && (m_position < m_pass.size() || (m_config.loop && !m_session.isEmpty()));
}

void BoardEngine::receive(const QByteArray &fromPc)
{
    if (!hearsLink())
        return;
    // Answers to one write leave as one chunk, as a board answers a burst.
    m_receiving = true;
    for (const char c : fromPc) {
        emit heard(static_cast<std::uint8_t>(c));
        handleCommand(static_cast<std::uint8_t>(c));
    }
    m_receiving = false;
    if (!m_pendingOutput.isEmpty())
        emit output(std::exchange(m_pendingOutput, QByteArray()));
}

void BoardEngine::handleCommand(std::uint8_t command)
{
    switch (command) {
    case 'V':
        endActivity();
        send(versionReply());
        return;
    case 'S':
        endActivity();
        send(QByteArray(1, static_cast<char>(m_config.signalMask)) + static_cast<char>(signalReplyFiller));
        return;
    case 'M':
        if (isOneOf(m_config.firmware, {"V1.04", "V1.05"})) {
            endActivity();
            startMeasuring();
        }
        return;
    case 'E':
        if (isStreaming())
            stopStream(!m_config.noEndCode);
        else
            endActivity();
        return;
    case 'd':
    case 'D':
        // The data width: the simulated line's bytes are the same either way.
        if (m_config.firmware == "V1.05")
            endActivity();
        return;
    case 'A':
    case 'B':
    case 'G':
        endActivity();
        startStream(static_cast<char>(command));
        return;
    default:
        break;
    }
    const auto row = std::find_if(std::begin(speedTable), std::end(speedTable), [&](const SpeedRow &r) {
        return command != 0 && codeIn(r, m_modernCodes) == static_cast<char>(command);
    });
    if (row != std::end(speedTable)) {
        endActivity();
        m_speedCode = static_cast<char>(command);
    }
}

void BoardEngine::startStream(char direction)
{
    m_state = State::Streaming;
    m_direction = direction;
    m_session = trafficForDirection(m_traffic, direction);
    m_pass = withErrorTags(m_session, m_config.errorTags);
    m_position = 0;
    m_streamOffset = 0;
    m_lastStreamByte = 0;
    if (m_config.flood > 0)
        sendStream(takeStream(m_config.flood, true), {}, true);
    startPacing();
}

void BoardEngine::startMeasuring()
{
    m_state = State::Measuring;
    m_recordPosition = 0;
    startPacing();
}

void BoardEngine::endActivity()
{
    if (isStreaming()) {
        stopStream(false);
    } else if (isMeasuring()) {
        m_state = State::Idle;
        m_pacer.stop();
    }
}

void BoardEngine::stopStream(bool withEndCode)
{
    QByteArray lowHalf;
    // Finish the monitored byte whose high nibble is already out, so the
    // PC never sees a lone high nibble before the end code.
    if (m_position < m_pass.size() && completes(m_lastStreamByte, static_cast<std::uint8_t>(m_pass[m_position])))
        lowHalf = takeStream(1, false);
    m_state = State::Idle;
    m_pacer.stop();
    sendStream(lowHalf, withEndCode ? QByteArray(1, static_cast<char>(endCode)) : QByteArray(), false);
}

int BoardEngine::tickMs() const
{
    // Ticks of 5..20 ms keep low rates smooth and high rates cheap.
    return std::clamp(1000 / m_config.rate, 5, 20);
}

void BoardEngine::startPacing()
{
    m_paceClock.start();
    m_paced = 0;
    m_pacer.start(tickMs());
}

void BoardEngine::pace()
{
    const qint64 due = qint64(m_config.rate) * m_paceClock.elapsed() / 1000 - m_paced;
    if (due <= 0)
        return;
    m_paced += due;
    if (isStreaming()) {
        sendStream(takeStream(due, false), {}, true);
        if (!hasTrafficPending())
            m_pacer.stop(); // idle until 'E'; nothing left to send
    } else if (isMeasuring()) {
        send(takeRecords(due));
    }
}

QByteArray BoardEngine::takeStream(qint64 count, bool wrapAlways)
{
    QByteArray out;
    while (out.size() < count) {
        if (m_position >= m_pass.size()) {
            if (!(m_config.loop || wrapAlways) || m_session.isEmpty())
                break;
            m_pass = m_session;
            m_position = 0;
        }
        const qsizetype n = std::min<qint64>(count - out.size(), m_pass.size() - m_position);
        out.append(m_pass.constData() + m_position, n);
        m_position += n;
    }
    if (!out.isEmpty()) {
        m_lastStreamByte = static_cast<std::uint8_t>(out.back());
        m_streamOffset += out.size();
    }
    return out;
}

QByteArray BoardEngine::takeRecords(qint64 count)
{
    QByteArray out;
    if (m_records.isEmpty())
        return out;
    out.reserve(count);
    while (out.size() < count) {
        const qsizetype n = std::min<qint64>(count - out.size(), m_records.size() - m_recordPosition);
        out.append(m_records.constData() + m_recordPosition, n);
        m_recordPosition = (m_recordPosition + n) % m_records.size();
    }
    return out;
}

void BoardEngine::sendStream(const QByteArray &stream, const QByteArray &trailer, bool cuttable)
{
    const qint64 now = m_pieceClock.elapsed();
    qint64 offset = m_streamOffset - stream.size();
    qsizetype from = 0;
    qint64 due = now;
    const auto cuts = cuttable ? cutsOf(stream) : QList<std::pair<qsizetype, int>>();
    // All pieces wait in line before the first leaves: whatever its
    // receiver answers at once comes behind them.
    for (const auto &[at, delayMs] : cuts) {
        m_pieces.push_back({stream.mid(from, at - from), due, offset, at - from});
        offset += at - from;
        from = at;
        due = now + delayMs;
    }
    const QByteArray rest = stream.mid(from) + trailer;
    if (!rest.isEmpty())
        m_pieces.push_back({rest, due, offset, stream.size() - from});
    releasePieces();
}

QList<std::pair<qsizetype, int>> BoardEngine::cutsOf(const QByteArray &stream)
{
    QList<std::pair<qsizetype, int>> cuts;
    const auto byteAt = [&stream](qsizetype i) { return static_cast<std::uint8_t>(stream[i]); };
    switch (m_config.pieces) {
    case BoardConfig::Pieces::Whole:
        break;
    case BoardConfig::Pieces::Split:
        // Between the halves of the chunk's last monitored byte: its low
        // half comes alone, as the last byte of a message often does.
        for (qsizetype i = stream.size() - 1; i > 0; --i) {
            if (completes(byteAt(i - 1), byteAt(i))) {
                cuts.append({i, std::max(1, tickMs() / 2)});
                break;
            }
        }
        break;
    case BoardConfig::Pieces::Random: {
        // Up to three cuts anywhere, the pieces leaving within the tick, so
        // the next chunk never overtakes them. Raw generator output: it is
        // the same on every standard library.
        const qsizetype count = std::min<qsizetype>(m_random() % 4, stream.size() - 1);
        QList<qsizetype> places;
        while (places.size() < count) {
            const qsizetype at = 1 + qsizetype(m_random() % quint32(stream.size() - 1));
            if (!places.contains(at))
                places.append(at);
        }
        QList<int> delays;
        for (qsizetype i = 0; i < count; ++i)
            delays.append(1 + int(m_random() % quint32(tickMs() - 1)));
        std::sort(places.begin(), places.end());
        std::sort(delays.begin(), delays.end());
        for (qsizetype i = 0; i < count; ++i)
            cuts.append({places[i], delays[i]});
        break;
    }
    }
    return cuts;
}

void BoardEngine::send(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    m_pieces.push_back({bytes, m_pieceClock.elapsed()});
    releasePieces();
}

void BoardEngine::releasePieces()
{
    // In order: an answer or the end code never overtakes a stream piece
    // still on its way.
    const qint64 now = m_pieceClock.elapsed();
    while (!m_pieces.empty() && m_pieces.front().dueMs <= now) {
        const Piece piece = std::move(m_pieces.front());
        m_pieces.pop_front();
        deliver(piece);
    }
    if (!m_pieces.empty())
        m_pieceTimer.start(int(m_pieces.front().dueMs - now));
}

void BoardEngine::deliver(const Piece &piece)
{
    if (piece.streamCount > 0)
        emit streamSent(piece.streamOffset, piece.streamCount);
    if (m_receiving)
        m_pendingOutput += piece.bytes;
    else
        emit output(piece.bytes);
}

} // namespace ferrox
