// A capture from the main window against the board in-process: the bytes on
// the wire, the texts of the capture's log window, the captions and the
// enabled controls, for each firmware and each way a capture ends.
#include "appfixture.h"

#include "app/session.h"
#include "app/ui/logwindowshookup.h"
#include "app/ui/monitorcontrols.h"
#include "app/ui/settingspanel.h"
#include "signals/signalsampler.h"
#include "signals/ui/signalpanel.h"
#include "board/traffic.h"
#include "data/sidecar.h"
#include "support/inprocessboard.h"
#include "views/ui/documentwindow.h"
#include "views/ui/logtextview.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace ferrox;
using namespace ferrox::test;

namespace {

const QByteArray endCode(1, char(0xFF));

class WindowCapture : public AppTest
{
protected:
    // The window on the board, its start-up check over, the wire log cleared.
    void build(const BoardConfig &config)
    {
        session.reset();
        board = std::make_unique<InProcessBoard>(config);
        ASSERT_TRUE(startSession(board->port()));
        ASSERT_TRUE(session->BoardVerified());
        // The capture's own texts, before the rendering replaces them.
        QObject::connect(&session->monitor().run(), &CaptureRun::finished, session.get(),
                         [this] { logAtEnd = logText(); });
        port().written.clear();
    }
    FakeSerialPort &port() { return board->port(); }
    QAction *button(const QString &key) { return window().toolbarButton(key); }
    void start() { button(QStringLiteral("スタート"))->trigger(); }
    void stop() { button(QStringLiteral("ストップ"))->trigger(); }
    bool streamed(qint32 n) { return QTest::qWaitFor([&] { return run().CaptureCount() >= n; }, 5000); }
    bool over(int ms = 5000) { return QTest::qWaitFor([&] { return !session->MonitorBusy() && !run().isActive(); }, ms); }
    CaptureRun &run() { return session->monitor().run(); }
    DocumentWindow *log() { return dynamic_cast<DocumentWindow *>(session->logWindows().registry().newest()); }
    QString logText() { return log() ? log()->textView()->plainText() : QString(); }
    QByteArray dataFile()
    {
        QFile file(dir.filePath(QStringLiteral("rs_data.dat")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The six settings controls, a 1, the start and stop buttons, Command_READ, Timer1.
    QString controlStates()
    {
        SettingsPanel *panel = window().settingsPanel();
        QString states;
        for (const bool on : {panel->portCheckButton()->isEnabled(), panel->comPort()->isEnabled(),
                              panel->direction()->isEnabled(), panel->displayMode()->isEnabled(),
                              panel->monitorSpeed()->isEnabled(), panel->pcSpeed()->isEnabled(), true,
                              button(QStringLiteral("スタート"))->isEnabled(), button(QStringLiteral("ストップ"))->isEnabled(),
                              panel->signalPanel()->readButton()->isEnabled(), session->sampler().isSamplingEnabled()})
            states += on ? u'1' : u'0';
        return states;
    }

    std::unique_ptr<InProcessBoard> board;
    QString logAtEnd;
};

TEST_F(WindowCapture, AStoppedCaptureRunsEveryStepAndKeepsTheWholeStream)
{
    build({.rate = 100'000});
    window().settingsPanel()->receivedBytesCheck()->setChecked(true);
    start();
    // While it runs: locked, grey, counting.
    EXPECT_EQ(controlStates(), QStringLiteral("00000010100"));
    ASSERT_TRUE(log()->caption().endsWith(QStringLiteral(" ： 表示モード１"))) << log()->caption().toStdString();
    const QByteArray traffic = demoTraffic();
    ASSERT_TRUE(streamed(traffic.size()));
    QLabel *counter = window().settingsPanel()->receivedBytesLabel();
    EXPECT_TRUE(QTest::qWaitFor([&] { return counter->text() == QString::number(traffic.size() / 2); }, 1000));
    stop();
    ASSERT_TRUE(over());

    // Speed, width, version, direction; the user's stop; the board told to
    // stop again at the end, before sampling resumes.
    EXPECT_EQ(port().written, QByteArray("4dVGEE"));
    EXPECT_EQ(dataFile(), traffic + endCode);
    // The arrival times beside it, from the stream's first byte on.
    const SidecarRead times = readSidecar(dir.filePath(QStringLiteral("rs_data.dat")), traffic.size() + 1);
    EXPECT_TRUE(times.times && times.times == session->data().times) << times.note.toStdString();
    EXPECT_EQ(logAtEnd, QStringLiteral("Ferrox LM V1.05  9600bps\nモニター開始 ... モニター停止。\n"));
    EXPECT_TRUE(logText().contains(QStringLiteral("モニターバイト数　： 94byte"))) << "rendered";
    EXPECT_TRUE(log()->caption().endsWith(QStringLiteral(" ： 表示モード１ - ") + session->data().CaptureTimestamp));
    EXPECT_EQ(controlStates(), QStringLiteral("11111111011"));
    EXPECT_TRUE(window().menuItem(QStringLiteral("mnuFileSaveDataFile"))->isEnabled());
}

// The exchanges' own test has every firmware's bytes; here, that the
// panel's choices reach them.
TEST_F(WindowCapture, ThePanelsChoicesChooseTheWireBytes)
{
    build({.firmware = "V1.02", .rate = 100'000});
    SettingsPanel *panel = window().settingsPanel();
    panel->monitorSpeed()->setCurrentText(QStringLiteral(" 57600"));
    panel->direction()->setCurrentText(QStringLiteral("J1→J2"));
    start();
    // Asked for while the board is set up, the stop goes out as it streams.
    stop();
    window().menuItem(QStringLiteral("mnuMonitorStart"))->trigger(); // refused: still busy
    ASSERT_TRUE(over());
    EXPECT_EQ(port().written, "5VBEE");
    EXPECT_EQ(session->data().capture.CaptureEnd(), 0);
}

TEST_F(WindowCapture, EveryEndKeepsWhatArrivedAndSaysHow)
{
    const struct
    {
        const char *name;
        BoardConfig config;
        std::function<void()> during; // once 100 stream bytes are in
        QString log;
        qint64 dataSize; // -1: more than 100 stream bytes; 0: no data file
        QString message;
        QByteArray wire; // when given, every byte written
        bool boardStopped = true;
    } cases[] = {
        {"data rate", {.flood = 40'000}, {}, QStringLiteral("モニター開始 ... "), 0,
         QStringLiteral("データ量がＰＣの処理スピードを超えましたのでモニターリングを停止します。"), "4dVGEE"},
        {"stop not written", {.rate = 20'000, .loop = true}, [this] { port().failWrites = true; stop(); },
         QStringLiteral("モニターが開始されていません。\nモニター強制停止。\n"), -1, {}, {}, false},
        {"log window closed", {.rate = 100'000, .loop = true}, [this] { log()->close(); }, {}, -1, {}, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        session.reset();
        dialogs.messages.clear();
        logAtEnd.clear();
        QFile::remove(dir.filePath(QStringLiteral("rs_data.dat")));
        build(c.config);
        start();
        if (c.during) {
            ASSERT_TRUE(streamed(100));
            c.during();
        }
        ASSERT_TRUE(over(8000));
        QTest::qWait(50);
        port().failWrites = false;
        EXPECT_TRUE((logAtEnd.isEmpty() ? logText() : logAtEnd).contains(c.log)) << logText().toStdString();
        const QByteArray data = dataFile();
        EXPECT_TRUE(c.dataSize < 0 ? data.size() > 100 : data.size() == c.dataSize) << data.size();
        EXPECT_TRUE(c.dataSize == 0 || data.endsWith(endCode));
        ASSERT_EQ(dialogs.messages.size(), c.message.isEmpty() ? 0 : 1);
        if (!c.message.isEmpty()) {
            EXPECT_EQ(dialogs.messages[0].text, c.message);
            EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Critical);
        }
        if (!c.wire.isEmpty()) {
            EXPECT_EQ(port().written, c.wire);
        }
        EXPECT_EQ(controlStates().left(8), QStringLiteral("11111111"));
        EXPECT_EQ(board->engine().isStreaming(), !c.boardStopped);
    }
}

} // namespace
