// The lines decoder: frames end after CR, LF or CR LF as well as at gaps
// and changes of direction; the summary is the line's text.
#include "framestesting.h"

using namespace ferrox;
using namespace ferrox::testing;

TEST(LinesDecoder, EndsFramesAfterEachKindOfLineEnd)
{
    const struct
    {
        const char *name;
        QByteArray stream;
        std::string frames;
    } cases[] = {
        {"CR LF", byJ1("OK\r\nNG\r\n"), "J1 4F 4B 0D 0A / J1 4E 47 0D 0A"},
        {"CR alone", byJ1("a\rb\r"), "J1 61 0D / J1 62 0D"},
        {"LF alone", byJ1("a\nb"), "J1 61 0A / J1 62"},
        {"LF CR is two ends", byJ1("a\n\rb"), "J1 61 0A / J1 0D / J1 62"},
        {"a change of direction ends a line", byJ1("AT") + byJ2("OK\r\n"), "J1 41 54 / J2 4F 4B 0D 0A"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(framesText(decoded(c.stream, QStringLiteral("lines"))), c.frames) << c.name;
}

TEST(LinesDecoder, SummarisesTheLineAsCodePage932TextWithoutItsEnd)
{
    const FrameList list = decoded(byJ2(sjis(u"温度\t+23.5℃\r\n")) + byJ2("\x02x\r"), QStringLiteral("lines"));
    ASSERT_EQ(list.frames.size(), 2);
    EXPECT_EQ(list.frames.at(0).summary, QStringLiteral("温度･+23.5℃"));
    EXPECT_EQ(list.frames.at(1).summary, QStringLiteral("[STX]x"));
    EXPECT_EQ(list.frames.at(0).verdict, FrameVerdict::Unchecked);
}
