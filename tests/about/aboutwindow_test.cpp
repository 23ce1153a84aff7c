// The About window: the texts of its first and later showings, the
// support page, and the icon's switch.
#include "about/abouttexts.h"
#include "about/texts.h"
#include "about/ui/aboutwindow.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

using namespace ferrox;

namespace {

// Takes the support page instead of a browser.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    UrlCatcher() { QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "take"); }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler(QStringLiteral("https")); }
    QList<QUrl> urls;
public slots:
    void take(const QUrl &url) { urls << url; }
};

bool closed(QPointer<AboutWindow> &window)
{
    return QTest::qWaitFor([&] { return window.isNull(); }, 3000);
}

TEST(AboutWindow, StartUpTextsShowUntilTheFirstCloseThenItsOwn)
{
    QWidget mainWindow;
    AboutBox about(&mainWindow);
    QPointer<AboutWindow> window = about.show();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ferroxのﾊﾞｰｼﾞｮﾝ情報"));
    EXPECT_EQ(window->texts(), (AboutTexts{QStringLiteral("Version 2.3.21"), QStringLiteral("Ferrox Line Monitor Ver2"),
                                           QStringLiteral("RS232ラインのデータをモニターリングします。"),
                                           QStringLiteral("ｻﾎﾟｰﾄﾍﾟｰｼﾞ : ") + abouttext::supportAddress()}));
    EXPECT_TRUE(window->isModal());

    UrlCatcher catcher;
    window->findChild<QPushButton *>(QStringLiteral("Command1"))->click();
    EXPECT_EQ(catcher.urls, QList<QUrl>{QUrl(abouttext::supportAddress())});

    window->findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
    ASSERT_TRUE(closed(window));
    for (int showing = 0; showing < 2; ++showing) {
        window = about.show();
        EXPECT_EQ(window->texts().version, QStringLiteral("ﾊﾞｰｼﾞｮﾝ 2.3.21"));
        EXPECT_EQ(window->texts().title, QStringLiteral("ferrox"));
        window->close();
        ASSERT_TRUE(closed(window));
    }
}

TEST(AboutWindow, DoubleClickingTheIconRevealsTheEditorAndCloses)
{
    QWidget mainWindow;
    AboutBox about(&mainWindow);
    QSignalSpy revealed(&about, &AboutBox::editorRevealed);
    QPointer<AboutWindow> window = about.show();
    QTest::mouseClick(window->findChild<QLabel *>(QStringLiteral("picIcon")), Qt::LeftButton);
    EXPECT_EQ(revealed.count(), 0);
    QTest::mouseDClick(window->findChild<QLabel *>(QStringLiteral("picIcon")), Qt::LeftButton);
    EXPECT_EQ(revealed.count(), 1);
    ASSERT_TRUE(closed(window));
    // Closed by the icon counts as closed.
    window = about.show();
    EXPECT_EQ(window->texts(), aboutLoadTexts());
    window->close();
}

} // namespace

#include "aboutwindow_test.moc"
