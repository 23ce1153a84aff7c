#include "about/helpbook.h"
#include "about/texts.h"
#include "about/ui/helpcommands.h"
#include "about/ui/helpwindow.h"

#include "support/fakedialogs.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace ferrox;

namespace {

const QString kHelp = QStringLiteral(FERROX_HELP_DIR);

TEST(Help, EveryPageIsANamedTopicWithKeywordsAndSearchFindsThem)
{
    const std::optional<HelpBook> book = HelpBook::load(kHelp);
    ASSERT_TRUE(book);
    // Every page of the folder is a topic of the contents.
    QStringList files = QDir(kHelp).entryList({QStringLiteral("*.html")});
    files.removeOne(HelpBook::contentsFile());
    QStringList topicFiles;
    for (const HelpTopic &topic : book->topics())
        topicFiles << topic.file + (topic.title.isEmpty() || topic.keywords.isEmpty() ? QStringLiteral(" unnamed") : QString());
    topicFiles.sort();
    EXPECT_EQ(topicFiles, files);

    // A keyword hit, a case-blind one and a hit in a page's text.
    const auto found = [&](const QString &term) {
        QStringList out;
        for (const HelpHit &hit : book->search(term))
            out << book->topics()[hit.topic].file + (hit.keyword.isEmpty() ? QStringLiteral("(text)") : QString());
        return out.join(u' ');
    };
    EXPECT_TRUE(found(QStringLiteral("MEASURE")).contains(QStringLiteral("cli.html")));
    EXPECT_TRUE(found(QStringLiteral("ランダムなデータ")).contains(QStringLiteral("measure.html(text)")));
    EXPECT_FALSE(found(QString()).contains(QStringLiteral("(text)")));
}

TEST(Help, ContentsAndSearchOpenTheViewerOrSayThereIsNoHelp)
{
    QWidget mainWindow;
    test::FakeDialogs dialogs;
    QTemporaryDir empty;
    HelpCommands(&mainWindow, dialogs, empty.path()).showSearch();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, abouttext::helpMissing());

    HelpCommands help(&mainWindow, dialogs, kHelp);
    help.showContents();
    ASSERT_NE(help.window(), nullptr);
    EXPECT_EQ(help.window()->currentPage(), HelpBook::contentsFile());
    help.window()->findChild<QListWidget *>(QStringLiteral("HelpContents"))->setCurrentRow(1);
    EXPECT_EQ(help.window()->currentPage(), HelpBook::load(kHelp)->topics()[1].file);

    help.showSearch();
    EXPECT_TRUE(help.window()->findChild<QLineEdit *>(QStringLiteral("HelpKeyword"))->text().isEmpty());
    EXPECT_EQ(dialogs.messages.size(), 1);
}

// The About box names it.
TEST(Help, TheSupportPageIsShippedWithTheHelp)
{
    EXPECT_TRUE(QFileInfo(QDir(kHelp).filePath(HelpBook::supportFile())).isFile());
}

TEST(Help, TheViewerFitsTheScreen)
{
    HelpWindow window(*HelpBook::load(kHelp));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QRect available = window.screen()->availableGeometry();
    EXPECT_LE(window.frameGeometry().height(), available.height());
    EXPECT_LE(window.frameGeometry().width(), available.width());
    EXPECT_LE(window.minimumSizeHint().height(), 1000 - 80); // a 1000-pixel screen less its frame and panel
}

TEST(Help, PagesThatAreNoRegularFilesAreLeftOutAndNeverHoldTheViewer)
{
    QTemporaryDir dir;
    const QString pipe = dir.filePath(QStringLiteral("pipe.html"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), dir.filePath(QStringLiteral("zero.html"))));
    test::writeFile(dir.filePath(HelpBook::contentsFile()),
                    "<html><title>c</title><a href=\"pipe.html\">p</a><a href=\"zero.html\">z</a>"
                    "<a href=\"page.html\">x</a></html>");
    test::writeFile(dir.filePath(QStringLiteral("page.html")), "<html><title>Page</title>text</html>");

    const std::optional<HelpBook> book = HelpBook::load(dir.path());
    ASSERT_TRUE(book);
    ASSERT_EQ(book->topics().size(), 1);
    EXPECT_EQ(book->topics()[0].file, QStringLiteral("page.html"));

    // Followed as links, they show nothing and the window goes on.
    HelpWindow window(*book);
    auto *page = window.findChild<QTextBrowser *>(QStringLiteral("HelpText"));
    for (const QString &name : {pipe, dir.filePath(QStringLiteral("zero.html"))}) {
        page->setSource(QUrl::fromLocalFile(name));
        EXPECT_TRUE(page->toPlainText().isEmpty()) << name.toStdString();
    }
}

} // namespace
