// The main window's commands for the measurement, editor, About and help
// windows: the editor's menu entry revealed from the About icon, a store
// announced as the current data, the link options' "?".
#include "about/texts.h"
#include "app/session.h"
#include "app/ui/mainwindow.h"
#include "appfixture.h"
#include "data/monitordata.h"
#include "support/fakeserialport.h"
#include "views/ui/logtextview.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace ferrox;
using namespace ferrox::test;

namespace {

class ToolWindowsTest : public AppTest
{
protected:
    ToolWindowsTest() : session(window(), port, dir.path() + u'/') { window().show(); }
    FakeSerialPort port;
    Session session;
};

TEST_F(ToolWindowsTest, TheAboutIconRevealsTheEditorWhoseStoreBecomesTheCurrentData)
{
    QAction *modify = window().menuItem(QStringLiteral("mnuModify"));
    EXPECT_FALSE(modify->isVisible());
    window().menuItem(QStringLiteral("mnuHelpAbout"))->trigger();
    QPointer<QWidget> about = window().findChild<QWidget *>(QStringLiteral("frmAbout"));
    ASSERT_TRUE(about);
    EXPECT_EQ(about->findChild<QLabel *>(QStringLiteral("lblTitle"))->text(), QStringLiteral("Ferrox Line Monitor Ver2"));
    QTest::mouseDClick(about->findChild<QLabel *>(QStringLiteral("picIcon")), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return about.isNull(); }, 3000));
    EXPECT_TRUE(modify->isVisible());
    EXPECT_TRUE(window().menuItem(QStringLiteral("mnuMonitorBar2"))->isVisible());

    EXPECT_FALSE(window().menuItem(QStringLiteral("mnuFileSaveDataFile"))->isEnabled());
    modify->trigger();
    QPointer<QWidget> editor = window().findChild<QWidget *>(QStringLiteral("frmModify"));
    ASSERT_TRUE(editor);
    auto *view = editor->findChild<LogTextView *>(QStringLiteral("RTModify"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view->isLoading(); }, 3000));
    view->setPlainText(QStringLiteral("A4 B1 80 96 FF"));
    editor->findChild<QAction *>(QStringLiteral("mnuDataSave"))->trigger();
    EXPECT_EQ(session.data().capture.stream(), QByteArray::fromHex("A4B18096FF"));
    QFile data(dir.filePath(QStringLiteral("rs_data.dat")));
    ASSERT_TRUE(data.open(QIODevice::ReadOnly));
    EXPECT_EQ(data.readAll(), QByteArray::fromHex("A4B18096FF"));
    EXPECT_TRUE(window().menuItem(QStringLiteral("mnuFileSaveDataFile"))->isEnabled());
    editor->close();
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(ToolWindowsTest, HelpCommandsAndTheLinkOptionsQuestionMark)
{
    window().findChild<QPushButton *>(QStringLiteral("Command_Help"))->click();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, abouttext::linkOptionsHelp());
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Information);

    window().menuItem(QStringLiteral("mnuHelpContents"))->trigger();
    QWidget *help = window().findChild<QWidget *>(QStringLiteral("HelpViewer"));
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    window().menuItem(QStringLiteral("mnuHelpSearchForHelpOn"))->trigger();
    EXPECT_EQ(dialogs.messages.size(), 1);
}

} // namespace
