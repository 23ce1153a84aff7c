// The main window's link to a simulated board on a real pseudo-terminal:
// start-up, the "通信確認" button, the port and link-speed choices, a
// capture and the close, through the window's own controls; and the window
// program's end on SIGTERM.
#include "app/appfixture.h"
#include "app/ui/linkcontroller.h"
#include "app/ui/monitorcontrols.h"
#include "app/ui/settingspanel.h"
#include "boardprocess.h"
#include "platform/qtserialport.h"
#include "signals/signalsampler.h"

#include "board/traffic.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace ferrox;
using namespace ferrox::test;

namespace {

const QString kLinkOk = QStringLiteral(":通信確認ＯＫ。");
const QString kNoBoard = QStringLiteral("*** ボードと通信ができませんでした ***");

// The window with its link; port 1 is the board's link, every other port is missing.
class WindowLink : public AppTest
{
protected:
    bool build(BoardProcess &board, const QByteArray &settings = {})
    {
        session.reset();
        resetWindow();
        writeSettings(settings);
        const QString link = board.linkPath();
        const QString missing = board.missingPath();
        port = std::make_unique<QtSerialPort>([link, missing](int n) { return n == 1 ? link : missing; });
        return startSession(*port);
    }
    bool pressPortCheck()
    {
        bool finished = false;
        auto connection = QObject::connect(&session->link().check(), &ConnectionCheck::checkFinished,
                                           [&] { finished = true; });
        window().settingsPanel()->portCheckButton()->click();
        const bool ok = QTest::qWaitFor([&] { return finished; }, 5000);
        QObject::disconnect(connection);
        return ok;
    }

    std::unique_ptr<QtSerialPort> port;
};

// Every firmware at both link speeds is the link tests' matrix; over the pty
// the oldest board at the slow jumper and the newest at the fast one.
TEST_F(WindowLink, StartUpAdaptsTheWindowToTheFirmware)
{
    const struct
    {
        const char *firmware, *jumper, *settings;
        int speeds, directions;
        QString monitorSpeed;
        bool newest; // the rate measurement and the data width
    } cases[] = {
        {"V1.01", "57600", "", 4, 1, QStringLiteral("  9600"), false},
        {"V1.05", "115200", "COM_speed=115200\nMonitor_speed=\" 38400\"\n", 10, 3, QStringLiteral(" 38400"), true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.firmware);
        BoardProcess board(QStringList{QStringLiteral("--firmware"), QLatin1String(c.firmware), QStringLiteral("--jumper"),
                                       QLatin1String(c.jumper)});
        FERROX_START_BOARD(board);
        ASSERT_TRUE(build(board, c.settings));
        EXPECT_TRUE(dialogs.messages.isEmpty());
        EXPECT_TRUE(window().statusText().startsWith(QStringLiteral("Ferrox LM ") + QLatin1String(c.firmware)));
        EXPECT_TRUE(window().statusText().endsWith(QStringLiteral("  COM1") + kLinkOk));
        EXPECT_TRUE(session->link().check().results().BoardVerified);
        SettingsPanel *panel = window().settingsPanel();
        EXPECT_EQ(panel->monitorSpeed()->count(), c.speeds);
        EXPECT_EQ(panel->monitorSpeed()->currentText(), c.monitorSpeed);
        EXPECT_EQ(panel->direction()->count(), c.directions);
        EXPECT_EQ(window().menuItem(QStringLiteral("mnuRateMeasure"))->isEnabled(), c.newest);
        EXPECT_EQ(panel->dataAndParity()->isEnabled(), c.newest);
        EXPECT_TRUE(session->sampler().isSamplingEnabled());
    }
}

// A port that cannot be had at start-up gives only the port message, nothing
// more when the check then fails; a board of unknown firmware gives the
// firmware message, then the long one.
TEST_F(WindowLink, StartUpWithoutAUsablePortOrAnswer)
{
    const QString portMessage = QStringLiteral("^COM%1 は使用できませんでした。　{10}[1-9][0-9]*     $");
    const auto startOf = [](const QString &text) { return u'^' + QRegularExpression::escape(text); };
    const QString noBoard = startOf(kNoBoard);
    const struct
    {
        const char *settings, *options;
        QStringList messages; // patterns
        QString status;       // its start, when the port opened
    } cases[] = {
        {"COM_Port=COM3\n", "", {portMessage.arg(3)}, {}},
        {"COM_speed=fast\n", "", {portMessage.arg(1)}, {}},
        {"", "--firmware V2.00", {startOf(QStringLiteral("*** ファームウエアバージョン ミスマッチ ***")), noBoard},
         QStringLiteral("ファームウエアバージョン ミスマッチ")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.settings) + c.options);
        dialogs.messages.clear();
        BoardProcess board(words(c.options));
        FERROX_START_BOARD(board);
        ASSERT_TRUE(build(board, c.settings));
        if (c.status.isEmpty())
            QTest::qWait(1500);
        ASSERT_EQ(dialogs.messages.size(), c.messages.size());
        for (qsizetype i = 0; i < c.messages.size(); ++i) {
            EXPECT_TRUE(QRegularExpression(c.messages[i]).match(dialogs.messages[i].text).hasMatch())
                << dialogs.messages[i].text.toStdString();
        }
        if (c.status.isEmpty()) {
            EXPECT_FALSE(session->sampler().isSamplingEnabled());
            EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("通信ポート"));
            EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Exclamation);
            EXPECT_FALSE(port->isOpen());
        } else {
            EXPECT_TRUE(window().statusText().startsWith(c.status));
            EXPECT_TRUE(session->link().check().results().LinkFailed);
        }
    }
}

TEST_F(WindowLink, ALinkSpeedTheJumperDoesNotMatchIsSilentUntilItDoes)
{
    BoardProcess board;
    FERROX_START_BOARD(board);
    ASSERT_TRUE(build(board));
    ASSERT_TRUE(session->sampler().isSamplingEnabled());

    // A link speed the jumper does not match: stored, the jumper asked for, silence.
    pick(window().settingsPanel()->pcSpeed(), QStringLiteral("115200"));
    EXPECT_EQ(stored(QStringLiteral("COM_speed")), QStringLiteral("115200"));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(QStringLiteral("*** PC通信スピード変更 ***\r\n")));
    ASSERT_TRUE(pressPortCheck());
    EXPECT_TRUE(session->link().check().results().LinkFailed);
    EXPECT_FALSE(session->sampler().isSamplingEnabled());
    EXPECT_EQ(dialogs.messages.size(), 1);

    // Back to the jumper's speed: the board answers again.
    pick(window().settingsPanel()->pcSpeed(), QStringLiteral(" 57600"));
    ASSERT_TRUE(pressPortCheck());
    EXPECT_TRUE(session->link().check().results().BoardVerified);
    EXPECT_TRUE(window().statusText().endsWith(kLinkOk));

    // Closing the window closes the port.
    window().close();
    EXPECT_FALSE(port->isOpen());
}

// A device path typed into the port choice is the port: opened as it is,
// named in the status line, stored, and opened again at the next start.
TEST_F(WindowLink, ATypedDevicePathIsThePort)
{
    BoardProcess board;
    FERROX_START_BOARD(board);
    ASSERT_TRUE(build(board, "COM_Port=COM2\n")); // a missing port to begin with
    dialogs.messages.clear();

    bool finished = false;
    QObject::connect(&session->link().check(), &ConnectionCheck::checkFinished, [&] { finished = true; });
    QLineEdit *typed = window().settingsPanel()->comPort()->lineEdit();
    typed->selectAll();
    QTest::keyClicks(typed, board.linkPath());
    QTest::keyClick(typed, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished; }, 5000));
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(session->link().check().results().BoardVerified);
    EXPECT_TRUE(window().statusText().endsWith(QStringLiteral("  ") + board.linkPath() + kLinkOk));
    EXPECT_EQ(stored(QStringLiteral("COM_Port")), board.linkPath());

    ASSERT_TRUE(build(board, "COM_Port=" + board.linkPath().toUtf8() + "\n"));
    EXPECT_TRUE(session->link().check().results().BoardVerified);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(WindowLink, ABoardThatHangsUpIsReportedAndNothingHangs)
{
    BoardProcess board(words("--hangup-after 1"));
    FERROX_START_BOARD(board);
    ASSERT_TRUE(build(board));
    ASSERT_TRUE(session->link().check().results().BoardVerified);
    QTest::qWait(1500);
    // The line is gone: the port cannot be opened, which the user is told;
    // the flags of the last check stand, as before any query.
    ASSERT_TRUE(pressPortCheck());
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(QStringLiteral("COM1 は使用できませんでした。")));
    EXPECT_FALSE(port->isOpen());
    EXPECT_TRUE(session->link().check().results().BoardVerified);
}

TEST_F(WindowLink, ACaptureStoresWhatTheBoardSentByteForByte)
{
    BoardProcess board(words("--traffic demo --rate 5000"));
    FERROX_START_BOARD(board);
    ASSERT_TRUE(build(board));
    window().menuItem(QStringLiteral("mnuMonitorStart"))->trigger();
    const QByteArray traffic = demoTraffic();
    CaptureRun &run = session->monitor().run();
    ASSERT_TRUE(QTest::qWaitFor([&] { return run.CaptureCount() >= traffic.size(); }, 5000));
    window().menuItem(QStringLiteral("mnuMonitorStop"))->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !session->MonitorBusy() && !run.isActive(); }, 5000));
    QFile data(dir.filePath(QStringLiteral("rs_data.dat")));
    ASSERT_TRUE(data.open(QIODevice::ReadOnly));
    EXPECT_EQ(data.readAll(), traffic + QByteArray(1, char(0xFF)));
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST(WindowProgram, EndsInOrderOnSigterm)
{
    BoardProcess board;
    FERROX_START_BOARD(board);
    QTemporaryDir dir;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *folder : {"FERROX_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"})
        environment.insert(QLatin1String(folder), dir.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("FERROX_COM1"), board.linkPath());
    QProcess ferrox;
    ferrox.setProcessEnvironment(environment);
    ferrox.start(QStringLiteral(FERROX_BINARY), {});
    // Up and past its start-up check.
    ASSERT_FALSE(ferrox.waitForFinished(3000)) << ferrox.readAllStandardError().toStdString();
    ferrox.terminate();
    ASSERT_TRUE(ferrox.waitForFinished(10000));
    EXPECT_EQ(ferrox.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(ferrox.exitCode(), 0);
    QFile ini(dir.filePath(QStringLiteral("ferrox/ferrox.ini")));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().contains("MainLeft="));
}

} // namespace
