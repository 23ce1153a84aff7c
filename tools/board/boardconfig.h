#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace ferrox {

// Everything ferrox-board can be told on its command line. The defaults
// are a healthy V1.05 board behind a 57600-baud jumper streaming the demo
// conversation once.
struct BoardConfig
{
    QString link;                         // --link: path made a symlink to the pty slave
    QByteArray firmware = "V1.05";        // --firmware: reply bytes 10..14 (padded/cut to 5)
    QByteArray id = "Ferrox LM";          // --id: reply bytes 0..8 (padded/cut to 9)
    int jumper = 57600;                   // --jumper: the only link speed answered, baud
    QString traffic = QStringLiteral("demo"); // --traffic: FILE, "demo", "modbus" or "random:SEED"
    int rate = 2000;                      // --rate: stream and measure bytes per second
    bool loop = false;                    // --loop: repeat the traffic without end
    std::uint8_t signalMask = 0xD2;       // --signals: bit value 0 = line active
    QList<quint16> measureCounts {945, 1905, 2865, 945, 3825, 1905}; // --measure-counts, cycled
    bool silent = false;                  // --silent: never answer anything
    int replyLength = 22;                 // --reply-len: bytes of the version reply
    int errorTags = 0;                    // --error-tags: undefined-tag bytes mixed into a stream
    bool noEndCode = false;               // --no-end-code: no 0xFF after a stream's stop
    int flood = 0;                        // --flood: stream bytes sent at once on a direction command
    int hangupAfterMs = 0;                // --hangup-after (seconds): close the pty then; 0 = never
    QString sendLog;                      // --send-log: file of the stream's send times; empty = none
    bool tellHeard = false;               // --tell-heard: a line on standard output per command heard
    // --pieces: how the stream's writes reach the PC. Whole: each paced
    // chunk in one write. Split: each chunk's last monitored byte is cut
    // in two, its low half written alone a moment later. Random: chunks cut
    // at random places (from piecesSeed), the pieces spread over the pacing
    // tick. As a board behind a USB adapter arrives; answers are never cut.
    enum class Pieces { Whole, Split, Random };
    Pieces pieces = Pieces::Whole;
    quint32 piecesSeed = 0;
};

// Reads the program's arguments (arguments[0] is the program name).
// Returns an empty text on success, otherwise what is wrong, for the user.
// Options not given take their defaults. helpRequested is set for --help;
// config is left as it was then and after an error.
QString parseBoardArguments(const QStringList &arguments, BoardConfig &config, bool &helpRequested);

// The usage text printed for --help and after an argument error.
QString boardUsage();

} // namespace ferrox
