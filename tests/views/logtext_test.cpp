#include "views/logtext.h"
#include "views/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ferrox;

namespace {

struct BreakCase
{
    const char *bytes;
    const char *shown;
};

class LineBreaks : public testing::TestWithParam<BreakCase>
{
};

TEST_P(LineBreaks, EachBreakShowsOnce)
{
    EXPECT_EQ(decodeLogText(QByteArray(GetParam().bytes)), QString::fromLatin1(GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(
    Files, LineBreaks,
    testing::Values(BreakCase{"a\r\nb", "a\nb"},          // the file's own line end
                    BreakCase{"a\r\r\nb", "a\nb"},        // the renderers' CR CR LF
                    BreakCase{"a\r\r\r\nb", "a\nb"},
                    BreakCase{"a\nb", "a\nb"},            // Unix files
                    BreakCase{"a\rb", "a\nb"},            // old Mac files
                    BreakCase{"a\r\rb", "a\n\nb"},
                    BreakCase{"a\r", "a\n"},
                    BreakCase{"\r\n\r\n", "\n\n"},
                    BreakCase{"a\n\r\nb", "a\n\nb"},
                    BreakCase{"", ""}));

TEST(LogText, JapaneseTextRoundTripsInCodePage932)
{
    const QString text = QStringLiteral("モニターログ ｶﾀｶﾅ ＡＢＣ ①\n表示終了\n");
    const QByteArray bytes = encodeLogText(text);
    EXPECT_TRUE(bytes.contains("\r\n"));
    EXPECT_FALSE(bytes.contains("\r\r"));
    // "モ" is 83 82 in code page 932; half-width katakana is one byte.
    EXPECT_TRUE(bytes.startsWith("\x83\x82"));
    EXPECT_TRUE(bytes.contains("\xB6\xC0\xB6\xC5"));
    EXPECT_EQ(decodeLogText(bytes), text);
}

TEST(LogText, EveryDocumentBreakBecomesCrLf)
{
    const QString text = QStringLiteral("a\nb") + QChar(QChar::ParagraphSeparator) + QStringLiteral("c")
                         + QChar(QChar::LineSeparator) + QStringLiteral("d");
    EXPECT_EQ(encodeLogText(text), QByteArray("a\r\nb\r\nc\r\nd"));
}

TEST(LogText, CharactersOutsideTheCodePageBecomeQuestionMarks)
{
    // An emoji and a Hangul syllable have no code page 932 form; "◯"
    // (81 FC) next to an IBM kanji (FC 4B) must stay as they are.
    const QString text = QStringLiteral("a😀b한c◯") + QChar(0x9ED1) + QStringLiteral("d");
    const QByteArray bytes = encodeLogText(text);
    EXPECT_EQ(bytes.left(5), QByteArray("a?b?c"));
    EXPECT_EQ(bytes.mid(5), QByteArray("\x81\xFC\xFC\x4B" "d"));
}

TEST(LogText, EveryByteOfAFileIsWrittenBackWhenSaved)
{
    // Bytes the code page leaves unassigned survive a load and a save;
    // a lead byte without its trail byte is the one thing lost.
    const QByteArray bytes("\x80\xA0\xFD\xFE\xFF\x83\x82\xA5\r\n");
    EXPECT_EQ(encodeLogText(decodeLogText(bytes)), bytes);
    const QString cut = decodeLogText("ok\x82\r\nnext");
    EXPECT_EQ(cut, QStringLiteral("ok") + QChar(QChar::ReplacementCharacter) + QStringLiteral("\nnext"));
}

TEST(LogText, RichTextAndBinaryFilesAreRecognised)
{
    EXPECT_TRUE(isRichTextFile("{\\rtf1\\ansi hello}"));
    EXPECT_FALSE(isRichTextFile(" {\\rtf1"));
    EXPECT_FALSE(isRichTextFile("{\\rt"));
    EXPECT_TRUE(looksBinary(QByteArray("\xA4\xB1\x00\xFF", 4)));
    EXPECT_FALSE(looksBinary("plain\r\ntext\t\x83\x82"));
}

struct FolderCase
{
    const char *path;
    const char *folder;
};

class DialogFolders : public testing::TestWithParam<FolderCase>
{
};

TEST_P(DialogFolders, FolderIsThePathBeforeTheFileName)
{
    EXPECT_EQ(dialogFolder(QString::fromUtf8(GetParam().path)), QString::fromUtf8(GetParam().folder));
}

INSTANTIATE_TEST_SUITE_P(Paths, DialogFolders,
                         testing::Values(FolderCase{"/home/user/logs/a.txt", "/home/user/logs"},
                                         FolderCase{"/a.dat", "/"},
                                         FolderCase{"C:\\logs\\a.dat", "C:\\logs"},
                                         FolderCase{"a.dat", ""},
                                         FolderCase{"/ログ/データ.dat", "/ログ"}));

class TextFiles : public testing::Test
{
protected:
    QString path(const char *name) const { return m_dir.filePath(QString::fromUtf8(name)); }
    void write(const QString &file, const QByteArray &bytes)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QTemporaryDir m_dir;
};

TEST_F(TextFiles, ReadingTellsWhatIsWrong)
{
    write(path("log.txt"), "\x83\x82\r\n");
    write(path("data.dat"), QByteArray("\xA4\xB1\x00\xFF", 4));
    write(path("big.txt"), QByteArray(101, 'x'));

    const TextFileRead ok = readTextFile(path("log.txt"));
    EXPECT_EQ(ok.status, TextFileRead::Status::Ok);
    EXPECT_EQ(ok.bytes, QByteArray("\x83\x82\r\n"));
    EXPECT_EQ(readTextFile(path("none.txt")).status, TextFileRead::Status::Missing);
    EXPECT_EQ(readTextFile(m_dir.path()).status, TextFileRead::Status::Missing);
    EXPECT_EQ(readTextFile(QString()).status, TextFileRead::Status::Missing);
    EXPECT_EQ(readTextFile(path("data.dat")).status, TextFileRead::Status::NotText);
    EXPECT_EQ(readTextFile(path("big.txt"), 100).status, TextFileRead::Status::TooBig);
    EXPECT_EQ(readTextFile(path("big.txt"), 101).status, TextFileRead::Status::Ok);
}

TEST_F(TextFiles, UnreadableFileIsReported)
{
    write(path("secret.txt"), "x");
    QFile::setPermissions(path("secret.txt"), QFileDevice::WriteOwner);
    QFile probe(path("secret.txt"));
    if (probe.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "running with rights that read any file";
    const TextFileRead read = readTextFile(path("secret.txt"));
    EXPECT_EQ(read.status, TextFileRead::Status::Unreadable);
    EXPECT_FALSE(read.reason.isEmpty());
}

TEST_F(TextFiles, WritingIsCodePage932WithCrLf)
{
    ASSERT_TRUE(writeTextFile(path("out.txt"), QStringLiteral("表示\nend")).ok);
    QFile f(path("out.txt"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("\x95\x5C\x8E\xA6\r\nend"));
}

TEST_F(TextFiles, FailedWriteLeavesTheOldFileAndNoLeftovers)
{
    write(path("keep.txt"), "old");
    const QString folder = path("locked");
    ASSERT_TRUE(QDir().mkdir(folder));
    write(folder + QStringLiteral("/keep.txt"), "old");
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const FileWriteResult written = writeTextFile(folder + QStringLiteral("/keep.txt"), QStringLiteral("new"));
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (written.ok)
        GTEST_SKIP() << "running with rights that write any folder";
    EXPECT_TRUE(written.message.contains(folder));
    QFile f(folder + QStringLiteral("/keep.txt"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("old"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 1);

}

TEST_F(TextFiles, WritingWherePathsCannotBeFailsCleanly)
{
    write(path("plain.txt"), "old");
    ASSERT_TRUE(QDir().mkdir(path("folder.txt")));
    EXPECT_FALSE(writeTextFile(path("no/such/folder/x.txt"), QStringLiteral("new")).ok);
    EXPECT_FALSE(QFile::exists(path("no")));
    EXPECT_FALSE(writeTextFile(path("plain.txt/x.txt"), QStringLiteral("new")).ok);
    const FileWriteResult onFolder = writeTextFile(path("folder.txt"), QStringLiteral("new"));
    EXPECT_FALSE(onFolder.ok);
    EXPECT_TRUE(onFolder.message.contains(path("folder.txt")));
    EXPECT_TRUE(QFileInfo(path("folder.txt")).isDir());
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("plain.txt")});
}

} // namespace
