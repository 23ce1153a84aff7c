// The help: every topic of the contents readable, named and findable,
// and the viewer's two ways in; no help, the message.
#include "about/helpbook.h"
#include "about/texts.h"
#include "about/ui/helpcommands.h"
#include "about/ui/helpwindow.h"

#include "support/fakedialogs.h"

#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

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

} // namespace
