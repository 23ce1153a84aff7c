// The signal lamps and the simple monitor on the main window, against the
// board in-process.
#include "appfixture.h"

#include "app/ui/logwindowshookup.h"
#include "app/ui/monitorcontrols.h"
#include "app/ui/settingspanel.h"
#include "capture/ui/livelinesview.h"
#include "capture/ui/realmonitorwindow.h"
#include "signals/signalsampler.h"
#include "signals/ui/signalpanel.h"
#include "views/ui/documentwindow.h"
#include "views/ui/logtextview.h"

#include <QPushButton>
#include <QRadioButton>

using namespace ferrox;
using namespace ferrox::test;
using namespace Qt::StringLiterals;

namespace {

class LiveMonitor : public AppTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(wireToBoard({.traffic = u"demo"_s, .rate = 4000, .loop = true, .signalMask = 0xA5}));
    }
    QAction *button7() { return toolbarButton(u"簡易モニタ"_s); }
    QAction *menuTemp() { return menuItem(u"mnuMonitorTemp"_s); }
    RealMonitorWindow *live() { return window().findChild<RealMonitorWindow *>(u"frmRealMonitor"_s); }
};

} // namespace

TEST_F(LiveMonitor, LampsFollowTheBoardTheReadoutGoesToTheActiveLog)
{
    SignalPanel *panel = window().settingsPanel()->signalPanel();
    ASSERT_TRUE(QTest::qWaitFor([&] { return wiring->sampler().lampImage(1) == LampImage::Red; }, 2000));
    panel->readButton()->click(); // no log window: nothing happens
    LogWindow *log = wiring->logWindows().registry().NewLogWindow();
    panel->readButton()->click();
    EXPECT_EQ(dynamic_cast<DocumentWindow *>(log)->textView()->plainText(), wiring->sampler().readoutLine().chopped(2) + u'\n');
}

TEST_F(LiveMonitor, TheWindowFollowsButtonAndMenuShowsTheStreamAndSurvivesACapture)
{
    window().settingsPanel()->textOption()->setChecked(true);
    board->port().written.clear();
    button7()->trigger();
    EXPECT_TRUE(menuTemp()->isChecked());
    ASSERT_NE(live(), nullptr);
    LiveLinesView *view = live()->liveView();
    const auto shown = [view] {
        QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
        return view->selectedText();
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown().contains(u"[CR_]"_s); }, 5000));

    // A capture feeds the window; the stream comes back after it.
    toolbarButton(u"スタート"_s)->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return wiring->monitor().run().CaptureCount() > 100; }, 5000));
    const qsizetype before = shown().size();
    QTest::qWait(200);
    EXPECT_GT(shown().size(), before);
    toolbarButton(u"ストップ"_s)->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return board->port().written.endsWith("4dVGE4G"); }, 5000));

    // The close box, and a sampling error that ends it: button and menu go
    // off; the board is told to stop.
    live()->parentWidget()->close();
    EXPECT_FALSE(button7()->isChecked() || menuTemp()->isChecked());
    EXPECT_TRUE(QTest::qWaitFor([&] { return board->port().written.endsWith("E"); }, 1000));
    button7()->trigger();
    emit wiring->sampler().stoppedOnError();
    EXPECT_FALSE(button7()->isChecked() || menuTemp()->isChecked());
}
