#include "traffic.h"

#include "texts.h"

#include <QFile>
#include <QList>
#include <QStringEncoder>

#include <random>

namespace ferrox {

namespace {

constexpr char STX = 0x02, ETX = 0x03, EOT = 0x04, ENQ = 0x05, ACK = 0x06, LF = 0x0A, CR = 0x0D,
               NAK = 0x15;
constexpr qint64 maxTrafficFileSize = 64 * 1024 * 1024;
constexpr int randomTrafficLength = 2048; // monitored bytes

QByteArray frame(const QByteArray &body)
{
    return STX + body + ETX;
}

QByteArray cp932(const QString &text)
{
    QStringEncoder encoder("windows-31j");
    return encoder.encode(text);
}

} // namespace

void appendMonitoredBytes(QByteArray &stream, Sender sender, const QByteArray &values)
{
    const std::uint8_t highTag = sender == Sender::J2 ? 0x80 : 0xA0;
    for (const char c : values) {
        const auto v = static_cast<std::uint8_t>(c);
        stream.append(static_cast<char>(highTag | (v >> 4)));
        stream.append(static_cast<char>((highTag + 0x10) | (v & 0x0F)));
    }
}

QByteArray demoTraffic()
{
    const QByteArray reading1 = cp932(boardtexts::measuredValue()) + "+012.34kPa" + CR + LF;
    const QByteArray reading2 = cp932(boardtexts::measuredValue()) + "-000.87kPa" + CR + LF;
    const QByteArray status = cp932(boardtexts::statusNormal()) + "\tOK" + CR + LF;
    const struct
    {
        Sender sender;
        QByteArray bytes;
    } conversation[] = {
        {Sender::J1, QByteArray(1, ENQ)},     {Sender::J2, QByteArray(1, ACK)},
        {Sender::J1, frame("RD01")},          {Sender::J2, frame(reading1)},
        {Sender::J1, QByteArray(1, ACK)},     {Sender::J1, frame("RD02")},
        {Sender::J2, QByteArray(1, NAK)},     {Sender::J1, frame("RD02")},
        {Sender::J2, frame(reading2)},        {Sender::J1, QByteArray(1, ACK)},
        {Sender::J1, frame("ST")},            {Sender::J2, frame(status)},
        {Sender::J1, QByteArray(1, ACK)},     {Sender::J1, QByteArray(1, EOT)},
    };
    QByteArray stream;
    for (const auto &turn : conversation)
        appendMonitoredBytes(stream, turn.sender, turn.bytes);
    return stream;
}

QByteArray modbusTraffic()
{
    // Written out with their CRCs rather than computed, so that the
    // simulator does not share the decoder's arithmetic.
    const struct
    {
        const char *request;
        const char *response;
    } exchanges[] = {
        {"1103006B00037687", "110306022B00000064C8BA"},
        {"1101001300138E92", "110103CD6B054012"},
        {"110200C40016BAA9", "110203ACDB352018"},
        {"110400080001B298", "110402000AF8F4"},
        {"110500ACFF004E8B", "110500ACFF004E8B"},
        {"1106000100039A9B", "1106000100039A9B"},
        {"110F0013000A02CD01BF0B", "110F0013000A2699"},
        {"11100001000204000A0102C6F0", "1110000100021298"},
        {"111700030006000E00030600FF00FF00FF4B54", "11170C00FE0ACD00010003000D00FF0D75"},
        {"01030000000AC5CD", "018302C0F1"},
    };
    QByteArray stream;
    for (const auto &exchange : exchanges) {
        appendMonitoredBytes(stream, Sender::J1, QByteArray::fromHex(exchange.request));
        appendMonitoredBytes(stream, Sender::J2, QByteArray::fromHex(exchange.response));
    }
    return stream;
}

QByteArray randomTraffic(quint32 seed)
{
    // The engine's raw output is fixed by the standard; distributions are not.
    std::mt19937 generator(seed);
    QByteArray stream;
    int produced = 0;
    while (produced < randomTrafficLength) {
        const Sender sender = (generator() & 1) ? Sender::J1 : Sender::J2;
        const int run = std::min<int>(1 + static_cast<int>(generator() % 32), randomTrafficLength - produced);
        QByteArray values(run, Qt::Uninitialized);
        for (char &v : values)
            v = static_cast<char>(generator() & 0xFF);
        appendMonitoredBytes(stream, sender, values);
        produced += run;
    }
    return stream;
}

std::optional<quint32> randomSeedOf(const QString &value)
{
    if (!value.startsWith(QLatin1String("random:")))
        return std::nullopt;
    bool ok = false;
    const qulonglong seed = value.mid(7).toULongLong(&ok);
    if (!ok || seed > 0xFFFFFFFFu)
        return std::nullopt;
    return static_cast<quint32>(seed);
}

std::optional<QByteArray> loadTraffic(const QString &source, QString &error)
{
    if (source == QLatin1String("demo"))
        return demoTraffic();
    if (source == QLatin1String("modbus"))
        return modbusTraffic();
    if (source.startsWith(QLatin1String("random:"))) {
        const std::optional<quint32> seed = randomSeedOf(source);
        if (!seed) {
            error = QStringLiteral("--traffic %1: the seed must be a whole number from 0 to 4294967295").arg(source);
            return std::nullopt;
        }
        return randomTraffic(*seed);
    }
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("--traffic %1: cannot read the data file (%2)").arg(source, file.errorString());
        return std::nullopt;
    }
    if (file.size() > maxTrafficFileSize) {
        error = QStringLiteral("--traffic %1: the data file is larger than 64 MiB").arg(source);
        return std::nullopt;
    }
    QByteArray stream = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = QStringLiteral("--traffic %1: reading failed (%2)").arg(source, file.errorString());
        return std::nullopt;
    }
    // What follows a data file's end code is not part of its capture.
    const qsizetype endCode = stream.indexOf('\xFF');
    if (endCode >= 0)
        stream.truncate(endCode);
    if (stream.isEmpty()) {
        error = QStringLiteral("--traffic %1: the data file holds no stream bytes").arg(source);
        return std::nullopt;
    }
    return stream;
}

QByteArray trafficForDirection(const QByteArray &stream, char direction)
{
    if (direction == 'G')
        return stream;
    if (direction != 'A' && direction != 'B')
        return QByteArray();
    // 'A' is J1<-J2: what J2 sends (tags 0x8/0x9); 'B' is J1->J2 (0xA/0xB).
    const std::uint8_t wanted = direction == 'A' ? 0x80 : 0xA0;
    QByteArray result;
    result.reserve(stream.size());
    for (const char c : stream) {
        if ((static_cast<std::uint8_t>(c) & 0xE0) == wanted)
            result.append(c);
    }
    return result;
}

QByteArray withErrorTags(const QByteArray &stream, int count)
{
    static constexpr std::uint8_t errorBytes[] = {0xC5, 0xD3, 0xE7, 0x0A, 0x7E};
    if (count <= 0)
        return stream;
    // Places between two monitored bytes: before each high nibble, and the end.
    QList<qsizetype> places;
    for (qsizetype i = 0; i < stream.size(); ++i) {
        if (isHighNibble(static_cast<std::uint8_t>(stream[i])))
            places << i;
    }
    places << stream.size();

    QByteArray result;
    result.reserve(stream.size() + count);
    qsizetype copied = 0;
    for (qint64 k = 0; k < count; ++k) {
        const qsizetype at = places[(k + 1) * places.size() / (count + 1)];
        result.append(stream.constData() + copied, at - copied);
        copied = at;
        result.append(static_cast<char>(errorBytes[k % std::size(errorBytes)]));
    }
    result.append(stream.constData() + copied, stream.size() - copied);
    return result;
}

} // namespace ferrox
