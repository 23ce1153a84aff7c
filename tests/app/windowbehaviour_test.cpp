// The View commands, the data commands and closing.
#include "appfixture.h"

#include "app/base/mainsettings.h"
#include "platform/ui/appearance.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>

using namespace ferrox;
using namespace ferrox::test;

namespace {

// Each View item shows and hides its part; the settings button mirrors its item.
TEST_F(AppTest, ViewItemsAndTheSettingsButtonShowAndHideTheirParts)
{
    const std::tuple<const char *, const char *, const char *> rows[] = {
        {"mnuViewSetting", "設定", "Picture_big"},
        {"mnuViewStatusBar", nullptr, "sbStatusBar"},
    };
    for (const auto &[itemName, buttonName, partName] : rows) {
        SCOPED_TRACE(itemName);
        QAction *item = menuItem(QLatin1String(itemName));
        QAction *button = buttonName ? toolbarButton(QString::fromUtf8(buttonName)) : item;
        QWidget *part = find<QWidget>(QLatin1String(partName));
        for (const auto &[clicked, shown] : {std::pair{item, false}, {button, true}, {button, false}, {item, true}}) {
            clicked->trigger();
            EXPECT_EQ(item->isChecked(), shown);
            EXPECT_EQ(button->isChecked(), shown);
            EXPECT_EQ(part->isHidden(), !shown);
        }
    }
    // No other way to hide them that would leave a check mark wrong.
    EXPECT_EQ(window().createPopupMenu(), nullptr);
}

// What the status text last showed on screen.
struct PaintedText : QObject
{
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            shown = static_cast<QLabel *>(watched)->text();
        return false;
    }
    QString shown;
};

// A rendering reports its steps without the event loop running between
// them: each text is on screen with the bar's step, not one step behind.
TEST_F(AppTest, TheStatusTextIsPaintedWithItsProgressStep)
{
    window().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
    auto *text = find<QLabel>(QStringLiteral("sbStatusBar_Panel1"));
    PaintedText painted;
    text->installEventFilter(&painted);
    for (qint32 remaining : {38, 36})
        window().ReportStatus(1, QString(), remaining);
    EXPECT_EQ(painted.shown, QStringLiteral("64%"));
}

struct RefusingChild : QWidget { void closeEvent(QCloseEvent *event) override { event->ignore(); } };

TEST_F(AppTest, ClosingClosesChildrenFirstAndStoresTheGeometry)
{
    window().show();
    window().setGeometry(120, 90, 700, 500);
    auto *child = window().mdiArea()->addSubWindow(new QWidget);
    child->setAttribute(Qt::WA_DeleteOnClose);
    child->show();
    window().mdiArea()->addSubWindow(new RefusingChild)->show();

    int childrenAtClosing = -1;
    QObject::connect(&window(), &MainWindow::closing,
                     [&] { childrenAtClosing = int(window().mdiArea()->subWindowList().size()); });
    menuItem(QStringLiteral("mnuFileExit"))->trigger();
    EXPECT_EQ(childrenAtClosing, 1); // the refusing child stays, the window closes all the same
    EXPECT_FALSE(window().isVisible());

    const TwipsGeometry expected{float(pixelsToTwipsX(window().x(), &window())),
                                 float(pixelsToTwipsY(window().y(), &window())),
                                 float(pixelsToTwipsX(700, &window())), float(pixelsToTwipsY(500, &window()))};
    QtSettingsStore store(iniPath());
    EXPECT_EQ(loadMainGeometry(ProgramSettings(store)), expected);
}

TEST_F(AppTest, ClosingMinimizedKeepsThePreviousGeometry)
{
    writeSettings("MainLeft=1234\nMainTop=2345\nMainWidth=7000\nMainHeight=8000\n");
    window().show();
    window().showMinimized();
    ASSERT_TRUE(window().isMinimized());
    window().close();
    for (const auto &[key, value] : {std::pair{"MainLeft", "1234"}, {"MainTop", "2345"}, {"MainWidth", "7000"}, {"MainHeight", "8000"}})
        EXPECT_EQ(stored(QLatin1String(key)), QLatin1String(value)) << key;
}

} // namespace
