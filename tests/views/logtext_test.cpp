#include "data/cp932.h"
#include "views/logtext.h"
#include "views/textfile.h"

#include "support/fakestores.h"

#include <QFile>
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

// The code page mapping itself, byte for byte, is tested with the capture data.
TEST(LogText, SavedTextIsCodePage932WithCrLfAndReadsBackTheSame)
{
    struct Case { QString text; QByteArray bytes; };
    const Case cases[] = {
        // "モ" is 83 82; half-width katakana is one byte each.
        {QStringLiteral("モニターログ ｶﾀ\n表示"), "\x83\x82\x83\x6A\x83\x5E\x81\x5B\x83\x8D\x83\x4F \xB6\xC0\r\n\x95\x5C\x8E\xA6"},
        {QStringLiteral("a\nb") + QChar(QChar::ParagraphSeparator) + QLatin1Char('c') + QChar(QChar::LineSeparator),
         "a\r\nb\r\nc\r\n"},
        // "◯" (81 FC) next to an IBM kanji (FC 4B) must stay as they are.
        {QStringLiteral("c◯") + QChar(0x9ED1), "c\x81\xFC\xFC\x4B"},
        // Captured binary data (an unassigned pair) comes back as it was.
        {QString(QChar(keptByteCharacter(0x88))) + QChar(keptByteCharacter(0x75)) + QLatin1Char('|'), "\x88\x75|"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(encodeLogText(c.text), c.bytes) << c.text.toStdString();
        EXPECT_EQ(encodeLogText(decodeLogText(c.bytes)), c.bytes);
    }
    // An emoji and a Hangul syllable have no code page 932 form.
    EXPECT_EQ(encodeLogText(QStringLiteral("a😀b한c")), QByteArray("a?b?c"));
}

// A big text loads piece by piece; a piece never ends between the halves
// of a surrogate pair, and always moves on.
TEST(LogText, TextPiecesKeepSurrogatePairsWholeAndAlwaysProgress)
{
    const QString text = QStringLiteral("a😀b😀");
    struct Case { qsizetype from; qsizetype budget; qsizetype end; };
    const Case cases[] = {
        {0, 1, 1}, {1, 1, 3}, {0, 2, 3}, {0, 3, 3}, {3, 1, 4}, {4, 1, 6}, {4, 100, 6}, {0, 0, 1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(textPieceEnd(text, c.from, c.budget), c.end) << c.from << "+" << c.budget;
}

TEST(LogText, RichTextAndBinaryFilesAreRecognised)
{
    EXPECT_TRUE(isRichTextFile("{\\rtf1\\ansi hello}") && !isRichTextFile(" {\\rtf1"));
    EXPECT_TRUE(looksBinary(QByteArray("\xA4\xB1\x00\xFF", 4)) && !looksBinary("plain\r\ntext\t\x83\x82"));
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
    const auto file = [&](const char *name, const QByteArray &bytes) {
        return test::writeFile(dir.filePath(QString::fromUtf8(name)), bytes);
    };
    const TextFileRead ok = readTextFile(file("log.txt", "\x83\x82\r\n"));
    EXPECT_TRUE(ok.status == TextFileRead::Status::Ok && ok.bytes == "\x83\x82\r\n");
    for (const QString &missing : {dir.filePath(QStringLiteral("none.txt")), QString()})
        EXPECT_EQ(readTextFile(missing).status, TextFileRead::Status::Missing) << missing.toStdString();
    const TextFileRead folder = readTextFile(dir.path());
    EXPECT_TRUE(folder.status == TextFileRead::Status::Unreadable && !folder.reason.isEmpty());
    EXPECT_EQ(readTextFile(file("data.dat", QByteArray("\xA4\xB1\x00\xFF", 4))).status, TextFileRead::Status::NotText);
    const QString big = file("big.txt", QByteArray(101, 'x'));
    EXPECT_EQ(readTextFile(big, 100).status, TextFileRead::Status::TooBig);
    EXPECT_EQ(readTextFile(big, 101).status, TextFileRead::Status::Ok);

}

} // namespace
