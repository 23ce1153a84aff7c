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
#include "platform/programinfo.h"
#include "support/inprocessboard.h"
#include "views/ui/documentwindow.h"
#include "views/ui/logtextview.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

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
        board = std::make_unique<InProcessBoard>(config);
        session = std::make_unique<Session>(window(), board->port(), dir.path() + u'/');
        bool checked = false;
        session->startUp([&] { checked = true; });
        ASSERT_TRUE(QTest::qWaitFor([&] { return checked; }, 5000));
        ASSERT_TRUE(session->BoardVerified());
        // The capture's own texts, before the rendering replaces them.
        QObject::connect(&session->monitor().run(), &CaptureRun::finished, session.get(),
                         [this] { logAtEnd = logText(); });
        port().written.clear();
        port().operations.clear();
    }
    FakeSerialPort &port() { return board->port(); }
    QAction *button(const QString &key) { return window().toolbarButton(key); }
    void start() { button(QStringLiteral("スタート"))->trigger(); }
    void stop() { button(QStringLiteral("ストップ"))->trigger(); }
    bool streamed(qint32 streamBytes)
    {
        return QTest::qWaitFor([&] { return session->monitor().run().CaptureCount() >= streamBytes; }, 5000);
    }
    bool over(int timeoutMs = 5000)
    {
        return QTest::qWaitFor([&] { return !session->MonitorBusy() && !session->monitor().run().isActive(); },
                               timeoutMs);
    }
    DocumentWindow *log()
    {
        return dynamic_cast<DocumentWindow *>(session->logWindows().registry().newest());
    }
    QString logText() { return log() ? log()->textView()->plainText() : QString(); }
    QByteArray dataFile()
    {
        QFile file(dir.filePath(QStringLiteral("rs_data.dat")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The six settings controls, the start and stop buttons, Command_READ, Timer1.
    QString controlStates()
    {
        SettingsPanel *panel = window().settingsPanel();
        QString states;
        for (QWidget *w : std::initializer_list<QWidget *>{panel->portCheckButton(), panel->comPort(),
                                                           panel->direction(), panel->displayMode(),
                                                           panel->monitorSpeed(), panel->pcSpeed()})
            states += w->isEnabled() ? u'1' : u'0';
        states += u' ';
        states += button(QStringLiteral("スタート"))->isEnabled() ? u'1' : u'0';
        states += button(QStringLiteral("ストップ"))->isEnabled() ? u'1' : u'0';
        states += panel->signalPanel()->readButton()->isEnabled() ? u'1' : u'0';
        states += session->sampler().isSamplingEnabled() ? u'1' : u'0';
        return states;
    }

    std::unique_ptr<InProcessBoard> board;
    std::unique_ptr<Session> session;
    QString logAtEnd;
};

TEST_F(WindowCapture, AStoppedCaptureRunsEveryStepAndKeepsTheWholeStream)
{
    build({.rate = 100'000});
    if (!window().settingsPanel()->receivedBytesCheck()->isChecked())
        window().settingsPanel()->receivedBytesCheck()->click();
    start();
    // While it runs: locked, grey, yellow, counting.
    EXPECT_EQ(controlStates(), QStringLiteral("000000 0100"));
    EXPECT_EQ(window().statusText(), QStringLiteral("モニター開始..."));
    EXPECT_FALSE(window().settingsPanel()->signalPanel()->lampLabel(0)->isEnabled());
    ASSERT_NE(log(), nullptr);
    EXPECT_TRUE(log()->caption().endsWith(QStringLiteral(" ： 表示モード１"))) << log()->caption().toStdString();
    const QByteArray traffic = demoTraffic();
    ASSERT_TRUE(streamed(traffic.size()));
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return window().settingsPanel()->receivedBytesLabel()->text() == QString::number(traffic.size() / 2);
    }, 1000));
    stop();
    EXPECT_EQ(window().statusText(), QStringLiteral("モニター停止"));
    ASSERT_TRUE(over());

    // Speed, width, version, direction; the user's stop; the board told to
    // stop again at the end, before sampling resumes.
    EXPECT_EQ(port().written, QByteArray("4dVGEE"));
    EXPECT_EQ(dataFile(), traffic + endCode);
    EXPECT_EQ(logAtEnd, QStringLiteral("Ferrox LM V1.05  9600bps\nモニター開始 ... モニター停止。\n"));
    EXPECT_TRUE(logText().contains(QStringLiteral("モニターバイト数　： 94byte"))) << "rendered";
    const QString stamp = session->data().CaptureTimestamp;
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{4}年\\d\\d月\\d\\d日\\d\\d:\\d\\d:\\d\\d$")).match(stamp).hasMatch());
    EXPECT_EQ(window().windowTitle(), mainTitleText() + QStringLiteral("現在のモニターデータ : ") + stamp);
    EXPECT_TRUE(log()->caption().endsWith(QStringLiteral(" ： 表示モード１ - ") + stamp));
    EXPECT_EQ(controlStates(), QStringLiteral("111111 1011"));
    EXPECT_TRUE(window().menuItem(QStringLiteral("mnuFileSaveDataFile"))->isEnabled());
    EXPECT_TRUE(window().settingsPanel()->signalPanel()->lampLabel(0)->isEnabled());
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(WindowCapture, FirmwareAndSettingsChooseTheWireBytes)
{
    const struct
    {
        const char *firmware;
        QString speed, direction;
        bool parity;
        QByteArray wire;
    } cases[] = {
        {"V1.05", QStringLiteral("   600"), QStringLiteral("J1←J2"), true, "0DVAEE"},
        {"V1.04", QStringLiteral(" 57600"), QStringLiteral("J1→J2"), true, "9VBEE"},
        {"V1.02", QStringLiteral(" 57600"), QStringLiteral("J1→J2"), false, "5VBEE"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.firmware);
        session.reset();
        build({.firmware = c.firmware, .rate = 100'000});
        SettingsPanel *panel = window().settingsPanel();
        panel->monitorSpeed()->setCurrentText(c.speed);
        panel->direction()->setCurrentText(c.direction);
        (c.parity ? panel->dataAndParity() : panel->dataOnly())->setChecked(true);
        start();
        // Asked for while the board is set up, the stop goes out as it streams.
        stop();
        window().menuItem(QStringLiteral("mnuMonitorStart"))->trigger(); // refused: still busy
        ASSERT_TRUE(over());
        EXPECT_EQ(port().written, c.wire);
        EXPECT_EQ(session->data().capture.CaptureEnd(), 0);
    }
}

TEST_F(WindowCapture, EveryEndKeepsWhatArrivedAndSaysHow)
{
    const struct
    {
        const char *name;
        BoardConfig config;
        std::function<void()> act; // once the stream runs
        QString logEnd;
        qint64 dataSize; // -1: more than 100 stream bytes; 0: nothing stored, no data file
        QString message;
        bool boardStopped = true;
    } cases[] = {
        {"overflow", {.traffic = QStringLiteral("random:7"), .rate = 400'000, .loop = true}, {},
         QStringLiteral("モニター開始 ... バッファがオーバーフローしました。\nモニター強制停止。\n"), 262145, {}},
        {"data rate", {.flood = 40'000}, {}, QStringLiteral("モニター開始 ... "), 0,
         QStringLiteral("データ量がＰＣの処理スピードを超えましたのでモニターリングを停止します。")},
        {"no end code", {.rate = 100'000, .loop = true, .noEndCode = true}, [this] { stop(); },
         QStringLiteral("モニター開始 ... モニター強制停止。\n"), -1, {}},
        {"port failure", {.rate = 100'000, .loop = true}, [this] { port().raiseLineError(9); },
         QStringLiteral("COM1 は使用できませんでした。"), -1, {}},
        {"stop not written", {.rate = 20'000, .loop = true},
         [this] {
             port().failWrites = true;
             stop();
         },
         QStringLiteral("モニターが開始されていません。\nモニター強制停止。\n"), -1, {}, false},
        {"log window closed", {.rate = 100'000, .loop = true}, [this] { log()->close(); }, {}, -1, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        session.reset();
        dialogs.messages.clear();
        QFile::remove(dir.filePath(QStringLiteral("rs_data.dat")));
        build(c.config);
        start();
        if (c.act) {
            ASSERT_TRUE(streamed(100));
            c.act();
        }
        ASSERT_TRUE(over(8000));
        port().failWrites = false;
        EXPECT_TRUE(logAtEnd.contains(c.logEnd)) << logAtEnd.toStdString();
        const QByteArray data = dataFile();
        if (c.dataSize >= 0)
            EXPECT_EQ(data.size(), c.dataSize);
        else
            EXPECT_GT(data.size(), 100);
        EXPECT_TRUE(c.dataSize == 0 || data.endsWith(endCode));
        ASSERT_EQ(dialogs.messages.size(), c.message.isEmpty() ? 0 : 1);
        if (!c.message.isEmpty()) {
            EXPECT_EQ(dialogs.messages[0].text, c.message);
            EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Critical);
        }
        EXPECT_EQ(controlStates().left(8), QStringLiteral("111111 1"));
        EXPECT_EQ(board->engine().isStreaming(), !c.boardStopped);
    }
}

TEST_F(WindowCapture, AFailedStartLeavesThePreviousDataAlone)
{
    build({.rate = 100'000});
    const struct
    {
        const char *name;
        std::function<void()> prepare;
        QString log;
        QByteArray wire;
    } cases[] = {
        {"unknown speed text", [this] { window().settingsPanel()->monitorSpeed()->setCurrentText(QStringLiteral("  1234")); },
         QStringLiteral("設定された通信スピードがサポートされていません。\n"), "E"},
        {"no version reply",
         [this] {
             window().settingsPanel()->monitorSpeed()->setCurrentText(QStringLiteral("  9600"));
             board->engine().setLinkBaud(9600);
         },
         QStringLiteral("コミュニケーション失敗。"), "4dVE"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        port().written.clear();
        c.prepare();
        start();
        ASSERT_TRUE(over(3000));
        QTest::qWait(50);
        EXPECT_EQ(logText(), c.log);
        EXPECT_EQ(port().written, c.wire);
        EXPECT_EQ(controlStates(), QStringLiteral("111111 1011"));
        EXPECT_FALSE(window().menuItem(QStringLiteral("mnuFileSaveDataFile"))->isEnabled());
        EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("rs_data.dat"))));
    }
}

TEST_F(WindowCapture, ClosingTheMainWindowMidCaptureStopsTheBoardFirst)
{
    build({.rate = 100'000, .loop = true});
    start();
    ASSERT_TRUE(streamed(100));
    port().operations.clear();
    window().close();
    EXPECT_TRUE(port().operations.join(u'|').endsWith(QStringLiteral("write 45|close"))) << port().operations.join(u'|').toStdString();
    EXPECT_FALSE(board->engine().isStreaming());
}

} // namespace
