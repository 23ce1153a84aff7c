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

TEST(AboutWindow, StartUpTextsUntilTheFirstCloseThenItsOwnAndTheIconsSwitch)
{
    QWidget mainWindow;
    AboutBox about(&mainWindow);
    QSignalSpy revealed(&about, &AboutBox::editorRevealed);
    const auto closed = [](QPointer<AboutWindow> &window) {
        return QTest::qWaitFor([&] { return window.isNull(); }, 3000);
    };

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

    window = about.show();
    EXPECT_EQ(window->texts(), (AboutTexts{QStringLiteral("ﾊﾞｰｼﾞｮﾝ 2.3.21"), QStringLiteral("ferrox"),
                                           abouttext::description(), abouttext::support()}));
    auto *icon = window->findChild<QLabel *>(QStringLiteral("picIcon"));
    QTest::mouseClick(icon, Qt::LeftButton);
    EXPECT_EQ(revealed.count(), 0);
    QTest::mouseDClick(icon, Qt::LeftButton);
    EXPECT_EQ(revealed.count(), 1);
    ASSERT_TRUE(closed(window));
}

} // namespace

#include "aboutwindow_test.moc"
