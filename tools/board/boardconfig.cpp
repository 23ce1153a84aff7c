#include "boardconfig.h"

#include "traffic.h"

#include <QCommandLineParser>

#include <cmath>
#include <limits>

namespace ferrox {

namespace {

// Whole number in [low, high] written in decimal (or, with base 0, also
// 0x-hex and 0-octal); false for anything else.
bool readNumber(const QString &text, qint64 low, qint64 high, qint64 &out, int base = 10)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok, base);
    if (!ok || value < low || value > high)
        return false;
    out = value;
    return true;
}

QString badValue(const QString &option, const QString &value, const QString &expected)
{
    return QStringLiteral("--%1: \"%2\" is not %3").arg(option, value, expected);
}

} // namespace

QString boardUsage()
{
    return QStringLiteral(
        "usage: ferrox-board --link PATH [--firmware V1.05] [--id \"Ferrox LM\"] [--jumper 57600|115200]\n"
        "                    [--traffic FILE|demo|modbus|random:SEED] [--rate BYTES_PER_S] [--loop] [--signals 0xNN]\n"
        "                    [--measure-counts C1,C2,...] [--silent] [--reply-len N] [--error-tags N]\n"
        "                    [--no-end-code] [--flood N] [--hangup-after S] [--send-log FILE]\n"
        "                    [--pieces split|random:SEED] [--tell-heard]\n"
        "       ferrox-board --help | --version\n"
        "A simulated line monitor board on a pseudo-terminal: PATH becomes a link to its\n"
        "slave side, whose path is printed on the first line of the output.\n"
        "--send-log FILE notes when each piece of a stream was sent: \"stream offset<TAB>\n"
        "microseconds since 1970-01-01T00:00:00Z\" a line, offsets from 0 again at each stream.\n"
        "--pieces writes the stream in uneven pieces, as a board behind a USB adapter\n"
        "arrives: split sends the low half of each write's last monitored byte alone\n"
        "a moment later; random:SEED cuts the writes at random places.\n"
        "--tell-heard prints \"heard C\" for each command byte C it acts on (a test waits\n"
        "on it for the program to reach a step of its exchange).\n"
        "The board acts only on bytes read while the link is set to its jumper's speed.\n");
}

QString parseBoardArguments(const QStringList &arguments, BoardConfig &config, bool &helpRequested)
{
    helpRequested = false;
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const auto valued = [&parser](const char *name) {
        parser.addOption(QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("value")));
    };
    const auto flag = [&parser](const char *name) {
        parser.addOption(QCommandLineOption(QString::fromLatin1(name)));
    };
    for (const char *name : {"link", "firmware", "id", "jumper", "traffic", "rate", "signals",
                             "measure-counts", "reply-len", "error-tags", "flood", "hangup-after", "send-log",
                             "pieces"})
        valued(name);
    for (const char *name : {"loop", "silent", "no-end-code", "tell-heard", "help"})
        flag(name);

    if (!parser.parse(arguments))
        return parser.errorText();
    if (!parser.positionalArguments().isEmpty())
        return QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().constFirst());
    if (parser.isSet(QStringLiteral("help"))) {
        helpRequested = true;
        return QString();
    }

    BoardConfig result;
    const auto value = [&parser](const char *name) { return parser.value(QString::fromLatin1(name)); };
    const auto isSet = [&parser](const char *name) { return parser.isSet(QString::fromLatin1(name)); };

    result.link = value("link");
    if (result.link.isEmpty())
        return QStringLiteral("--link PATH is required");
    if (isSet("firmware"))
        result.firmware = value("firmware").toUtf8();
    if (isSet("id"))
        result.id = value("id").toUtf8();
    if (isSet("traffic")) {
        result.traffic = value("traffic");
        if (result.traffic.isEmpty())
            return QStringLiteral("--traffic: a file, demo, modbus or random:SEED is needed");
    }

    qint64 number = 0;
    if (isSet("jumper")) {
        if (!readNumber(value("jumper"), 0, std::numeric_limits<int>::max(), number)
            || (number != 57600 && number != 115200))
            return badValue(QStringLiteral("jumper"), value("jumper"), QStringLiteral("57600 or 115200"));
        result.jumper = static_cast<int>(number);
    }
    struct Counted
    {
        const char *name;
        qint64 low;
        qint64 high;
        int *target;
    };
    for (const Counted &c : {Counted {"rate", 1, 10'000'000, &result.rate},
                             Counted {"reply-len", 0, 65'536, &result.replyLength},
                             Counted {"error-tags", 0, 1'000'000, &result.errorTags},
                             Counted {"flood", 0, 16 * 1024 * 1024, &result.flood}}) {
        if (!isSet(c.name))
            continue;
        if (!readNumber(value(c.name), c.low, c.high, number))
            return badValue(QString::fromLatin1(c.name), value(c.name),
                            QStringLiteral("a whole number from %1 to %2").arg(c.low).arg(c.high));
        *c.target = static_cast<int>(number);
    }
    if (isSet("signals")) {
        if (!readNumber(value("signals"), 0, 255, number, 0))
            return badValue(QStringLiteral("signals"), value("signals"), QStringLiteral("a byte such as 0xD2"));
        result.signalMask = static_cast<std::uint8_t>(number);
    }
    if (isSet("measure-counts")) {
        result.measureCounts.clear();
        for (const QString &piece : value("measure-counts").split(QLatin1Char(','))) {
            if (!readNumber(piece, 0, 65535, number))
                return badValue(QStringLiteral("measure-counts"), value("measure-counts"),
                                QStringLiteral("a list of counts 0 to 65535 such as 945,1905"));
            result.measureCounts << static_cast<quint16>(number);
        }
    }
    if (isSet("hangup-after")) {
        bool ok = false;
        const double seconds = value("hangup-after").trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(seconds) || seconds <= 0 || seconds > 2'000'000)
            return badValue(QStringLiteral("hangup-after"), value("hangup-after"),
                            QStringLiteral("a number of seconds above 0"));
        result.hangupAfterMs = std::max(1, static_cast<int>(std::lround(seconds * 1000)));
    }
    if (isSet("pieces")) {
        const std::optional<quint32> seed = randomSeedOf(value("pieces"));
        if (value("pieces") == QLatin1String("split"))
            result.pieces = BoardConfig::Pieces::Split;
        else if (seed)
            result.pieces = BoardConfig::Pieces::Random;
        else
            return badValue(QStringLiteral("pieces"), value("pieces"),
                            QStringLiteral("split or random:SEED (SEED 0 to 4294967295)"));
        result.piecesSeed = seed.value_or(0);
    }
    result.sendLog = value("send-log");
    result.loop = isSet("loop");
    result.silent = isSet("silent");
    result.noEndCode = isSet("no-end-code");
    result.tellHeard = isSet("tell-heard");

    config = result;
    return QString();
}

} // namespace ferrox
