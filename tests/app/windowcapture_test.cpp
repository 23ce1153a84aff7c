// A capture from the main window against the board in-process: the panel's
// choice on the wire, the stream and its times kept, the controls locked
// while it runs, and the ways the window tells how a capture ended.
#include "appfixture.h"

#include "app/ui/logwindowshookup.h"
#include "app/ui/monitorcontrols.h"
#include "app/ui/settingspanel.h"
#include "board/traffic.h"
#include "capture/texts.h"
#include "data/sidecar.h"
#include "link/texts.h"
#include "settings/settingsschema.h"
#include "signals/signalsampler.h"
#include "signals/ui/signalpanel.h"
#include "views/ui/documentwindow.h"
#include "views/ui/logtextview.h"

#include <QPushButton>
#include <QRegularExpression>

using namespace ferrox;
using namespace ferrox::test;
using namespace Qt::StringLiterals;

namespace {

const QByteArray endCode(1, char(0xFF));

class WindowCapture : public AppTest
{
protected:
    // The window on the board, its start-up check over, the wire log cleared.
    void build(const BoardConfig &config)
    {
        ASSERT_TRUE(wireToBoard(config));
        port().written.clear();
    }
    FakeSerialPort &port() { return board->port(); }
    bool streamed(qint32 n) { return QTest::qWaitFor([&] { return wiring->monitor().run().CaptureCount() >= n; }, 5000); }
    bool over() { return QTest::qWaitFor([&] { return !wiring->state().MonitorBusy(); }, 8000); }
    QString dataPath() { return dir.filePath(u"rs_data.dat"_s); }
    DocumentWindow *newestLog() { return dynamic_cast<DocumentWindow *>(wiring->logWindows().registry().newest()); }
    // The log's text once its rendering, if any, is loaded.
    QString loadedText(DocumentWindow *log)
    {
        EXPECT_TRUE(QTest::qWaitFor([log] { return !log->isLoading(); }, 5000));
        return log->textView()->plainText();
    }
    // The six settings controls, the start and stop buttons, Command_READ, Timer1.
    QString controlStates()
    {
        SettingsPanel *panel = window().settingsPanel();
        QString states;
        for (const bool on : {panel->portCheckButton()->isEnabled(), panel->comPort()->isEnabled(),
                              panel->direction()->isEnabled(), panel->displayMode()->isEnabled(),
                              panel->monitorSpeed()->isEnabled(), panel->pcSpeed()->isEnabled(),
                              toolbarButton(u"スタート"_s)->isEnabled(), toolbarButton(u"ストップ"_s)->isEnabled(),
                              panel->signalPanel()->readButton()->isEnabled(), wiring->sampler().isSamplingEnabled()})
            states += on ? u'1' : u'0';
        return states;
    }
};

TEST_F(WindowCapture, AStoppedCaptureRunsEveryStepAndKeepsTheWholeStream)
{
    build({.rate = 100'000});
    window().settingsPanel()->monitorSpeed()->setCurrentText(u" 57600"_s);
    toolbarButton(u"スタート"_s)->trigger();
    EXPECT_EQ(controlStates(), u"0000000100"_s);
    const QByteArray traffic = demoTraffic();
    ASSERT_TRUE(streamed(traffic.size()));
    toolbarButton(u"ストップ"_s)->trigger();
    ASSERT_TRUE(over());

    // Speed, width, version, direction; the user's stop; the board told to
    // stop again at the end, before sampling resumes.
    EXPECT_EQ(port().written, QByteArray("9dVGEE"));
    EXPECT_EQ(readFile(dataPath()), traffic + endCode);
    // The arrival times beside it, from the stream's first byte on.
    const SidecarRead times = readSidecar(dataPath(), traffic.size() + 1);
    EXPECT_TRUE(times.times.has_value()) << times.note.toStdString();
    EXPECT_EQ(times.times, wiring->state().data().times);
    EXPECT_EQ(controlStates(), u"1111111011"_s);
    EXPECT_TRUE(menuItem(u"mnuFileSaveDataFile"_s)->isEnabled());
    // A first run names the stored default mode as it is stored.
    EXPECT_TRUE(newestLog()->caption().contains(u" ： 表示モード１ - "_s)) << newestLog()->caption().toStdString();
}

// More than the PC can take: the board is stopped and the user told in a
// box of its own.
TEST_F(WindowCapture, AFloodEndsWithAnAlarmBoxAndTheBoardStopped)
{
    build({.flood = 40'000});
    toolbarButton(u"スタート"_s)->trigger();
    ASSERT_TRUE(over());
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(messageTitle(dialogs.messages[0].title), QString()); // an empty title bar
    EXPECT_FALSE(board->engine().isStreaming());
}

// An adapter unplugged between the two halves of a byte: every whole byte
// is kept and shown, and the user is told why the stream ended and that
// its last byte was cut, in the status line and at the top of the rendered
// text that replaced the window's progress texts (where the loaded view
// has its caret).
TEST_F(WindowCapture, AnAdapterUnpluggedMidByteIsToldAfterTheRendering)
{
    build({.rate = 100'000});
    const QString line = linktext::portUnusableMessage(window().settingsPanel()->comPort()->currentText(), 9).trimmed()
        + u"　最後の１バイトは受信が途中で途切れたため破棄しました。"_s;
    toolbarButton(u"スタート"_s)->trigger();
    const QByteArray traffic = demoTraffic();
    ASSERT_TRUE(streamed(traffic.size()));
    port().deliverNow(QByteArray(1, char(0xA4)));
    port().raiseLineError(9);
    ASSERT_TRUE(over());
    EXPECT_EQ(window().statusText(), line);
    EXPECT_EQ(loadedText(newestLog()).section(u'\n', 0, 0), line);
    EXPECT_EQ(readFile(dataPath()), traffic + endCode);
    EXPECT_TRUE(menuItem(u"mnuFileSaveDataFile"_s)->isEnabled());
}

// A rejected capture keeps its log's texts: the line telling how the stream
// ended stands there once.
TEST_F(WindowCapture, ARejectedCaptureTellsItsEndOnce)
{
    build({.rate = 100'000, .loop = true, .errorTags = 5});
    const QString line = linktext::portUnusableMessage(window().settingsPanel()->comPort()->currentText(), 9).trimmed();
    toolbarButton(u"スタート"_s)->trigger();
    DocumentWindow *log = newestLog();
    ASSERT_TRUE(streamed(1000));
    port().raiseLineError(9);
    ASSERT_TRUE(over());
    EXPECT_EQ(loadedText(log).count(line), 1);
}

// A setting the board cannot be set up for is named in the log.
TEST_F(WindowCapture, AStartTheBoardCannotBeSetUpForNamesTheSetting)
{
    const struct
    {
        const char *name;
        QComboBox *(SettingsPanel::*combo)() const;
        QString typed;
        QString told;
    } cases[] = {
        {"direction", &SettingsPanel::direction, u"上下"_s, CaptureTexts::unsupportedDirection()},
        {"monitored speed", &SettingsPanel::monitorSpeed, u"  9601"_s, CaptureTexts::unsupportedSpeed()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        build({});
        (window().settingsPanel()->*c.combo)()->setEditText(c.typed);
        toolbarButton(u"スタート"_s)->trigger();
        DocumentWindow *log = newestLog();
        ASSERT_TRUE(over());
        EXPECT_EQ(loadedText(log).trimmed(), c.told);
        (window().settingsPanel()->*c.combo)()->setCurrentIndex(0);
    }
}

// A start that waited for a connection check: the check's result showed
// meanwhile, the capture's own text stands while it runs.
TEST_F(WindowCapture, AStartHeldBehindACheckShowsItsOwnStatus)
{
    build({.rate = 100'000, .loop = true});
    window().settingsPanel()->portCheckButton()->click();
    toolbarButton(u"スタート"_s)->trigger();
    ASSERT_TRUE(streamed(100));
    EXPECT_EQ(window().statusText(), CaptureTexts::startingStatus());
    toolbarButton(u"ストップ"_s)->trigger();
    ASSERT_TRUE(over());
}

// No version reply, or a port that will not open: the starting text goes.
TEST_F(WindowCapture, AFailedStartLeavesNoStartingTextInTheStatusLine)
{
    const struct
    {
        const char *name;
        BoardConfig config;
        std::function<void()> before;
    } cases[] = {
        {"no reply", {.silent = true}, [] {}},
        {"port will not open", {}, [this] {
             port().close();
             port().missingPorts.insert(1);
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        build(c.config);
        c.before();
        toolbarButton(u"スタート"_s)->trigger();
        ASSERT_TRUE(over());
        EXPECT_EQ(window().statusText(), QString());
    }
}

// Windows opened during a capture keep their own data and mode; the
// capture runs on into its own window, in the mode chosen as it started:
// a second start is refused, also while it stops, and the stop still ends it.
TEST_F(WindowCapture, AFileOpenedDuringACaptureLeavesItRunningIntoItsOwnWindowAndMode)
{
    build({.rate = 100'000, .loop = true});
    const QString other = dir.filePath(u"other.dat"_s);
    writeFile(other, QByteArray::fromHex("A4B1FF"));
    pick(window().settingsPanel()->displayMode(), displayModeText(3));
    toolbarButton(u"スタート"_s)->trigger();
    DocumentWindow *captureLog = newestLog();
    ASSERT_TRUE(streamed(100));
    wiring->logWindows().monitorLog().openDataFile(other);
    menuItem(u"mnuMonitorLogOpen1"_s)->trigger();
    DocumentWindow *displayLog = newestLog();
    const QString shown = loadedText(displayLog);
    toolbarButton(u"ストップ"_s)->trigger();
    // Enabled again once the stop is asked for, the start still waits for
    // the capture's end: no new log window.
    toolbarButton(u"スタート"_s)->trigger();
    EXPECT_EQ(newestLog(), displayLog);
    ASSERT_TRUE(over());
    EXPECT_EQ(port().written, QByteArray("4dVGEE"));
    const QRegularExpression modeThreeBlock(u"J1⇒\\[|J2→\\["_s);
    EXPECT_TRUE(loadedText(captureLog).contains(modeThreeBlock));
    EXPECT_TRUE(captureLog->caption().contains(u" ： 表示"_s + displayModeText(3) + u" - "_s));
    EXPECT_EQ(loadedText(displayLog), shown);
}

} // namespace
