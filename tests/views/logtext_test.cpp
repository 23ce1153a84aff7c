// The views' cores: log text and text files, RTF, window layouts.
#include "views/logtext.h"
#include "views/rtfreader.h"
#include "views/textfile.h"
#include "views/windowlayout.h"

#include "support/fakestores.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ferrox;

namespace {

TEST(LogText, EachLineBreakShowsOnce)
{
    // The file's own line end, the renderers' CR CR LF, then the others.
    const std::pair<const char *, const char *> cases[] = {
        {"a\r\nb", "a\nb"}, {"a\r\r\nb", "a\nb"}, {"a\nb", "a\nb"}, {"a\rb", "a\nb"}, {"a\r\rb", "a\n\nb"}, {"a\n\r\nb", "a\n\nb"}};
    for (const auto &[bytes, shown] : cases)
        EXPECT_EQ(decodeLogText(QByteArray(bytes)), QString::fromLatin1(shown)) << bytes;
}

// The code page mapping itself, byte for byte and both ways, is tested with
// the capture data (CodePage932.ExactDecodingRoundTripsEveryByteString).
TEST(LogText, SavedTextIsCodePage932WithCrLfAndReadsBackTheSame)
{
    const struct { QString text; QByteArray bytes; } cases[] = {
        // "モ" is 83 82; half-width katakana is one byte each.
        {QStringLiteral("モニターログ ｶﾀ\n表示"), "\x83\x82\x83\x6A\x83\x5E\x81\x5B\x83\x8D\x83\x4F \xB6\xC0\r\n\x95\x5C\x8E\xA6"},
        {QStringLiteral("a\nb") + QChar(QChar::ParagraphSeparator) + QLatin1Char('c') + QChar(QChar::LineSeparator),
         "a\r\nb\r\nc\r\n"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(encodeLogText(c.text), c.bytes) << c.text.toStdString();
        EXPECT_EQ(encodeLogText(decodeLogText(c.bytes)), c.bytes);
    }
    // An emoji and a Hangul syllable have no code page 932 form.
    EXPECT_EQ(encodeLogText(QStringLiteral("a😀b한c")), QByteArray("a?b?c"));
}

// A big text loads piece by piece; a piece never ends between the halves of a surrogate pair, and always moves on.
TEST(LogText, TextPiecesKeepSurrogatePairsWholeAndAlwaysProgress)
{
    const QString text = QStringLiteral("a😀b😀");
    const struct { qsizetype from; qsizetype budget; qsizetype end; } cases[] = {
        {0, 1, 1}, {1, 1, 3}, {0, 2, 3}, {0, 3, 3}, {3, 1, 4}, {4, 1, 6}, {4, 100, 6}, {0, 0, 1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(textPieceEnd(text, c.from, c.budget), c.end) << c.from << "+" << c.budget;
}

// Big files decode in pieces that end after a line feed: whatever the
// piece size, the pieces give the text the whole gives, with the CRs of a
// break, double-byte characters and lone lead bytes around the cuts.
TEST(LogText, LinePiecesDecodeToTheWholeText)
{
    const QByteArray bytes = "ab\r\r\n\x83\x82\n\x83\n\r\n\rx\r\r\n\n\x81";
    for (qsizetype budget = 0; budget <= bytes.size(); ++budget) {
        QString pieces;
        for (qsizetype from = 0; from < bytes.size();) {
            const qsizetype end = linePieceEnd(bytes, from, budget);
            ASSERT_GT(end, from);
            pieces += decodeLogText(bytes.sliced(from, end - from));
            from = end;
        }
        EXPECT_EQ(pieces, decodeLogText(bytes)) << budget;
    }
}

// Binary files are recognised by reading them as text, below.
TEST(LogText, RichTextFilesAreRecognised)
{
    EXPECT_TRUE(isRichTextFile("{\\rtf1\\ansi hello}"));
    EXPECT_FALSE(isRichTextFile(" {\\rtf1"));
}

TEST(LogText, DialogFolderIsThePathBeforeTheFileName)
{
    const std::pair<const char *, const char *> cases[] = {
        {"/home/user/logs/a.txt", "/home/user/logs"}, {"C:\\logs\\a.dat", "C:\\logs"}, {"a.dat", ""}, {"/ログ/データ.dat", "/ログ"},
    };
    for (const auto &[path, folder] : cases)
        EXPECT_EQ(dialogFolder(QString::fromUtf8(path)), QString::fromUtf8(folder)) << path;
}

TEST(TextFiles, ReadingTellsWhatIsWrong)
{
    // Writing is the data files' atomic write, tested with them.
    QTemporaryDir dir;
    const auto file = [&](const char *name, const QByteArray &bytes) { return test::writeFile(dir.filePath(QString::fromUtf8(name)), bytes); };
    const TextFileRead ok = readTextFile(file("log.txt", "\x83\x82\r\n"));
    EXPECT_EQ(ok.status, TextFileRead::Status::Ok);
    EXPECT_EQ(ok.bytes, QByteArray("\x83\x82\r\n"));
    for (const QString &missing : {dir.filePath(QStringLiteral("none.txt")), QString()})
        EXPECT_EQ(readTextFile(missing).status, TextFileRead::Status::Missing) << missing.toStdString();
    const TextFileRead folder = readTextFile(dir.path());
    EXPECT_EQ(folder.status, TextFileRead::Status::Unreadable);
    EXPECT_FALSE(folder.reason.isEmpty());
    EXPECT_EQ(readTextFile(file("data.dat", QByteArray("\xA4\xB1\x00\xFF", 4))).status, TextFileRead::Status::NotText);
    const QString big = file("big.txt", QByteArray(101, 'x'));
    EXPECT_EQ(readTextFile(big, 100).status, TextFileRead::Status::TooBig);
    EXPECT_EQ(readTextFile(big, 101).status, TextFileRead::Status::Ok);
}

TEST(RtfPlainText, ReadsTheDocumentsCharacters)
{
    const struct { const char *name, *rtf, *text; /* UTF-8 */ } cases[] = {
        {"Breaks", "{\\rtf1 a\\par b\\line c\\tab d}", "a\nb\nc\td"},
        {"EscapedBraces", "{\\rtf1 \\{x\\} \\\\}", "{x} \\"},
        {"UnicodeTwoByteFallback", "{\\rtf1\\uc2 \\u12514\\'83\\'82!}", "モ!"},
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
        QString style = QLatin1String(run.style.bold ? "b" : "") + QLatin1String(run.style.italic ? "i" : "") + QLatin1String(run.style.underline ? "u" : "");
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
         "\\cf1 red\\cf2 green\\cf0 auto\\cf7 none\\cf2 g{\\plain p}}", "red[#ff0000]|green[#008000]|autonone|g[#008000]|p"},
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

// The whole document also shows code page 932 bytes, \u with its fallback and a skipped star destination.
TEST(RtfRobustness, EveryPrefixOfADocumentReads)
{
    const QByteArray rtf("{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0 Gothic;}}{\\colortbl;\\red1\\green2\\blue3;}"
                         "\\uc1\\pard\\cf1\\b \\'83\\'82\\u12491?{\\*\\x y}\\bin1 z\\par}");
    for (qsizetype n = 0; n <= rtf.size(); ++n)
        readRtf(rtf.left(n));
    EXPECT_EQ(plainTextOf(readRtf(rtf)), QStringLiteral("モニ\n"));
}

TEST(WindowLayout, TilesShareTheAreaExactlyAndIconsStackUpFromTheBottom)
{
    EXPECT_EQ(tileOneAboveTheOther(QRect(0, 0, 600, 400), 3),
              (QList<QRect>{QRect(0, 0, 600, 133), QRect(0, 133, 600, 133), QRect(0, 266, 600, 134)}));
    EXPECT_TRUE(tileOneAboveTheOther(QRect(0, 0, 600, 400), 0).isEmpty());
    EXPECT_EQ(tileSideBySide(QRect(10, 20, 601, 400), 3),
              (QList<QRect>{QRect(10, 20, 200, 400), QRect(210, 20, 200, 400), QRect(410, 20, 201, 400)}));

    EXPECT_EQ(iconPlaces(QRect(0, 0, 250, 300), QSize(100, 30), 3),
              (QList<QPoint>{QPoint(0, 270), QPoint(100, 270), QPoint(0, 240)}));
    EXPECT_TRUE(iconPlaces(QRect(0, 0, 250, 300), QSize(0, 30), 2).isEmpty());
    EXPECT_EQ(iconPlaces(QRect(0, 0, 50, 300), QSize(100, 30), 2)[1], QPoint(0, 240));
}

TEST(WindowLayout, ANewWindowIsKeptInsideTheArea)
{
    const QRect area(0, 0, 600, 400);
    EXPECT_EQ(keptInside(QRect(500, 350, 300, 200), area), QRect(300, 200, 300, 200));
    EXPECT_EQ(keptInside(QRect(-20, 10, 300, 200), area), QRect(0, 10, 300, 200));
    EXPECT_EQ(keptInside(QRect(100, 100, 700, 500), area), area);
    EXPECT_EQ(keptInside(QRect(10, 10, 50, 50), area), QRect(10, 10, 50, 50));
}

} // namespace
