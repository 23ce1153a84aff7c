// Every byte value, alone and before a trail byte, through the character rules of the
// ASCII, hex-with-characters and exchange views, and the code page 932 pass-through.
#include "datatesting.h"

#include "data/capturedcolumn.h"
#include "data/cp932.h"

#include <QRandomGenerator>
#include <QStringDecoder>
#include <QStringEncoder>

#include <map>

using namespace ferrox;
using namespace ferrox::testing;

namespace {

bool isLead(int b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// What the ASCII view makes of a value, before the pass-through.
QByteArray asciiText(int v)
{
    const std::map<int, QByteArray> named = {{2, "[STX]"}, {3, "[ETX]"}, {4, "[EOT]"}, {5, "[ENQ]"}, {6, "[ACK]"},
                                              {9, "\t"}, {10, "[LF]"}, {13, "\r\n"}, {21, "[NAK]"}, {27, "[ESC]"}};
    return named.contains(v) ? named.at(v) : QByteArray(1, char(v < 32 ? 0xF7 : v));
}

// The character column's byte for a value, before the pass-through.
int columnByte(int v) { return (v < 32 || v == 160 || v >= 254) ? 0xA5 : v; }

QByteArray hexOf(int v) { return QByteArray::number(v, 16).toUpper().rightJustified(2, '0'); }

} // namespace

TEST(CharacterRules, EveryValueAloneAndBeforeATrailByteInTheCharacterViews)
{
    for (int v = 0; v < 256; ++v) {
        for (bool withTrail : {false, true}) {
            SCOPED_TRACE(::testing::Message() << "value " << v << " trail " << withTrail);
            const QByteArray trail = withTrail ? "A" : "";
            const QByteArray monitored = char(v) + trail;
            // A lone lead byte is written as "?"; before a trail byte it pairs.
            const auto passed = [&](QByteArray text) {
                if (text.size() == 1 && isLead(std::uint8_t(text[0])) && !withTrail)
                    text = "?";
                return text + trail;
            };
            const QByteArray column = passed(QByteArray(1, char(columnByte(v))));
            const QByteArray ascii = sjis(u"000000 J1⇒J2 : ") + passed(asciiText(v)) + "\r\n";
            const QByteArray hex = hexOf(v) + " " + (withTrail ? "41 " : "");
            const QByteArray hexChar = rule(79, "\r\r\n") + sjis(u"J1⇒[000001] |") + hex
                                       + spaces(47 - int(hex.size())) + " |" + column + "\r\n";
            const QByteArray pair = hexOf(v) + (withTrail ? " 41" : "");
            const QByteArray exchange = rule(80, "\r\r\n") + spaces(8) + "|" + spaces(23) + sjis(u"|    000001←J2|")
                                        + pair + spaces(23 - int(pair.size())) + "|" + column + "\r\n";
            const int count = int(monitored.size());
            EXPECT_EQ(show(bodyOf(RenderAscii(streamOf(byJ1(monitored) + endCode()), testHeader()), count)), show(ascii));
            EXPECT_EQ(show(bodyOf(RenderHexChar(streamOf(byJ1(monitored) + endCode()), testHeader()), count)), show(hexChar));
            EXPECT_EQ(show(bodyOf(RenderExchange(streamOf(byJ2(monitored) + endCode()), testHeader()), count)), show(exchange));
        }
    }
}

// The pass-through reads eight bytes at a time where it can, and a
// character column judges each byte as it is added (keeping at most its
// size): runs of plain bytes cut by lead bytes at every offset, against a
// reading of one character at a time.
TEST(CodePage932, PassThroughAgreesWithOneCharacterAtATime)
{
    const auto oneAtATime = [](QByteArray text) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (!isLead(std::uint8_t(text[i])))
                continue;
            if (i + 1 < text.size() && isCp932TrailByte(std::uint8_t(text[i + 1])))
                ++i;
            else
                text[i] = '?';
        }
        return text;
    };
    const std::uint8_t pool[] = {'A', '0', 0x0D, 0x40, 0x7E, 0x7F, 0x80, 0x81, 0x9F, 0xA0, 0xE0, 0xFC, 0xFD};
    QRandomGenerator random(8);
    for (int n = 0; n < 20000; ++n) {
        QByteArray text(random.bounded(40), 'a');
        for (char &b : text)
            b = random.bounded(3) == 0 ? char(pool[random.bounded(int(sizeof pool))]) : 'a';
        QByteArray passed = text;
        replaceLoneLeadBytes(passed.data(), passed.size());
        ASSERT_EQ(show(passed), show(oneAtATime(text))) << show(text);
        CapturedColumn<32> column;
        for (const char b : text)
            column.append(std::uint8_t(b));
        ASSERT_EQ(show(column.finished().toByteArray()), show(oneAtATime(text.first(std::min<qsizetype>(text.size(), 32)))))
            << show(text);
    }
}

// Text loaded from a file and saved again keeps its bytes, whatever they
// are: every string of two bytes, and random strings from a fixed seed.
TEST(CodePage932, ExactDecodingRoundTripsEveryByteString)
{
    QRandomGenerator random(932);
    for (int i = 0; i < 0x10000 + 20000; ++i) {
        QByteArray some = bytes({i >> 8 & 0xFF, i & 0xFF});
        if (i >= 0x10000) {
            some.resize(1 + random.bounded(12));
            for (char &b : some)
                b = char(random.bounded(256));
        }
        ASSERT_EQ(show(encodeCp932(decodeCp932Exact(some))), show(some));
    }
    // Each byte the code page cannot say is one character of its own: an
    // unassigned pair, a duplicate written as another pair, a lone lead.
    const auto kept = [](std::uint8_t b) { return QChar(keptByteCharacter(b)); };
    EXPECT_EQ(decodeCp932Exact(bytes({0x88, 0x75, 0x87, 0x90, 0x82, ' ', 0x82, 0xA0})),
              QString(kept(0x88)) + kept(0x75) + kept(0x87) + kept(0x90) + kept(0x82) + QStringLiteral(" あ"));
}

// The built-in tables against Qt's converter, asked one pair and one
// character at a time: every pair reads, and every character writes, as
// the converter has it (where Windows reads the code page as the converter
// does), whatever lead byte or block of characters it lies in.
TEST(CodePage932, TablesAgreeWithQtsConverterOnEveryPairAndCharacter)
{
    QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
    QStringEncoder encoder("windows-31j", QStringConverter::Flag::Stateless);
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (!isLead(lead) || !isCp932TrailByte(std::uint8_t(trail)))
                continue;
            const QByteArray pair = bytes({lead, trail});
            ASSERT_EQ(decodeCp932(pair), decoder.decode(pair)) << show(pair);
        }
    }
    const QString windowsOwn = QString::fromUtf16(u"\u001A\u001C\u007F\u0080\uF8F0\uF8F1\uF8F2\uF8F3");
    for (int u = 0x20; u <= 0xFFFF; ++u) {
        const char16_t c = char16_t(u);
        const QChar character(c);
        if (character.isSurrogate() || isKeptByteCharacter(c) || windowsOwn.contains(character))
            continue;
        QByteArray expected = encoder.encode(QStringView(&c, 1));
        if (expected.isEmpty() || expected == "\xFC\xFC")
            expected = "?";
        ASSERT_EQ(show(encodeCp932(QStringView(&c, 1))), show(expected)) << u;
    }
}

TEST(CodePage932, ControlCodesAndNonCharactersDecodeAsWindowsDoes)
{
    EXPECT_EQ(decodeCp932(bytes({0x1A, 0x7F, 0x80, 0xA0, 0xFF, 0x5C, 0x7E, 0xB1, 0x82, 0xA0, 'A', 0x82})),
              QString::fromUtf16(u"\u001A\u007F\u0080\uF8F0\uF8F3\\~ｱあA\uFFFD"));
}
