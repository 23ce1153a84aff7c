// The fixed-length decoder: records of N bytes; a short one fails.
#include "framestesting.h"

using namespace ferrox;
using namespace ferrox::testing;

TEST(FixedLengthDecoder, CutsRecordsOfTheLengthAndFailsAShortOne)
{
    const FrameList list = decoded(byJ1("ABCDEFGH") + byJ2("xyz"), QStringLiteral("fixed:3"));
    EXPECT_EQ(framesText(list), "J1 41 42 43 / J1 44 45 46 / J1 47 48 / J2 78 79 7A");
    const FrameVerdict verdicts[] = {FrameVerdict::Good, FrameVerdict::Good, FrameVerdict::Bad, FrameVerdict::Good};
    for (qsizetype i = 0; i < list.frames.size(); ++i)
        EXPECT_EQ(list.frames.at(i).verdict, verdicts[i]) << "frame " << i;
    EXPECT_EQ(list.frames.at(2).problem, QStringLiteral("2バイトしかありません(3バイト固定)"));
    EXPECT_EQ(list.overLongCount, 0);
}

TEST(FixedLengthDecoder, TakesOnlyLengthsFrom1To4096)
{
    const struct
    {
        const char *name;
        bool made;
    } cases[] = {{"fixed:1", true}, {"fixed:4096", true}, {"fixed:0", false}, {"fixed:4097", false},
                 {"fixed:", false}, {"fixed:x", false}, {"fixed:-3", false}};
    for (const auto &c : cases)
        EXPECT_EQ(makeDecoder(QLatin1String(c.name)) != nullptr, c.made) << c.name;
}
