#include "views/rtfreader.h"

#include <gtest/gtest.h>

using namespace ferrox;

namespace {

TEST(RtfPlainText, ReadsTheDocumentsCharacters)
{
    const struct { const char *name, *rtf, *text; /* UTF-8 */ } cases[] = {
        {"Breaks", "{\\rtf1 a\\par b\\line c\\tab d}", "a\nb\nc\td"},
        {"EscapedBraces", "{\\rtf1 \\{x\\} \\\\}", "{x} \\"},
        {"HexBytesInCodePage932", "{\\rtf1\\ansi\\ansicpg932 \\'83\\'82\\'83\\'6a}", "モニ"},
        {"UnicodeWithFallback", "{\\rtf1 \\u12514?\\u12491?}", "モニ"},
        {"UnicodeTwoByteFallback", "{\\rtf1\\uc2 \\u12514\\'83\\'82!}", "モ!"},
        {"StarDestinationSkipped", "{\\rtf1{\\*\\generator Writer;}{\\*\\unknown zz}ok}", "ok"},
        {"BinarySkipped", "{\\rtf1 a{\\pict\\bin3 }}}b}c}", "ac"},
        {"UnclosedGroupsAndCutOffEscape", "{\\rtf1 a{\\b b\\'8", "ab"},
        {"HugeParameter", "{\\rtf1\\cf99999999999999999999\\fs-99999999999999999 x}", "x"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(plainTextOf(readRtf(QByteArray(c.rtf))), QString::fromUtf8(c.text)) << c.name;
}

// Runs written as "text" or "text[biu #RRGGBB]".
QString describe(const StyledText &text)
{
    QStringList runs;
    for (const StyledRun &run : text) {
        QString style = QLatin1String(run.style.bold ? "b" : "") + QLatin1String(run.style.italic ? "i" : "")
                        + QLatin1String(run.style.underline ? "u" : "");
        if (run.style.color)
            style += QStringLiteral(" #%1").arg(*run.style.color, 6, 16, QLatin1Char('0'));
        runs << run.text + (style.isEmpty() ? QString() : QLatin1Char('[') + style.trimmed() + QLatin1Char(']'));
    }
    return runs.join(QLatin1Char('|'));
}

TEST(RtfStyles, FollowGroupsAndTheColourTableAndMergeRunsOfOneStyle)
{
    const std::pair<const char *, const char *> cases[] = {
        {"{\\rtf1 a{\\b b{\\i c}}{\\ul d\\ulnone e}\\b f\\b0 g}", "a|b[b]|c[bi]|d[u]|e|f[b]|g"},
        {"{\\rtf1{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}"
         "\\cf1 red\\cf2 green\\cf0 auto\\cf7 none\\cf2 g{\\plain p}}",
         "red[#ff0000]|green[#008000]|autonone|g[#008000]|p"},
    };
    for (const auto &[rtf, runs] : cases)
        EXPECT_EQ(describe(readRtf(rtf)), QString::fromUtf8(runs)) << rtf;
}

TEST(RtfRobustness, DeepNestingNeitherCrashesNorLosesText)
{
    QByteArray rtf("{\\rtf1 ");
    rtf += QByteArray(100000, '{') + "\\b deep" + QByteArray(100000, '}') + " after}";
    EXPECT_EQ(plainTextOf(readRtf(rtf)), QStringLiteral("deep after"));
}

TEST(RtfRobustness, EveryPrefixOfADocumentReads)
{
    const QByteArray rtf("{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0 Gothic;}}{\\colortbl;\\red1\\green2\\blue3;}"
                         "\\uc1\\pard\\cf1\\b \\'83\\'82\\u12491?{\\*\\x y}\\bin1 z\\par}");
    for (qsizetype n = 0; n <= rtf.size(); ++n)
        readRtf(rtf.left(n));
    EXPECT_EQ(plainTextOf(readRtf(rtf)), QStringLiteral("モニ\n"));
}

} // namespace
