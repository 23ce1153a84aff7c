// The main window's link to a simulated board on a real pseudo-terminal:
// start-up, the "通信確認" button, the port and link-speed choices, a
// capture and the close, through the window's own controls; and the window
// program's end on SIGTERM.
#include "app/session.h"
#include "app/ui/linkcontroller.h"
#include "app/ui/mainwindow.h"
#include "app/ui/monitorcontrols.h"
#include "app/ui/settingspanel.h"
#include "boardprocess.h"
#include "platform/qtserialport.h"
#include "platform/qtsettingsstore.h"
#include "signals/signalsampler.h"
#include "support/fakedialogs.h"

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
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

using namespace ferrox;
using namespace ferrox::test;

namespace {

const QString kLinkOk = QStringLiteral(":通信確認ＯＫ。");
const QString kNoBoard = QStringLiteral("*** ボードと通信ができませんでした ***");

class WindowLink : public testing::Test
{
protected:
    // The window with its link; port 1 is the board's link, every other port is missing.
    void build(BoardProcess &board, const QByteArray &settings = {})
    {
        session.reset();
        port.reset();
        QFile ini(m_dir.filePath(QStringLiteral("ferrox.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Settings2]\n" + settings);
        ini.close();
        m_store = std::make_unique<QtSettingsStore>(ini.fileName());
        window = std::make_unique<MainWindow>(*m_store, dialogs);
        const QString link = board.linkPath();
        const QString missing = board.missingPath();
        port = std::make_unique<QtSerialPort>([link, missing](int n) { return n == 1 ? link : missing; });
        session = std::make_unique<Session>(*window, *port, m_dir.path() + u'/');
    }
    bool startUp()
    {
        bool done = false;
        session->startUp([&] { done = true; });
        return QTest::qWaitFor([&] { return done; }, 5000);
    }
    bool pressPortCheck()
    {
        bool finished = false;
        auto connection = QObject::connect(&session->link().check(), &ConnectionCheck::checkFinished,
                                           [&] { finished = true; });
        window->settingsPanel()->portCheckButton()->click();
        const bool ok = QTest::qWaitFor([&] { return finished; }, 5000);
        QObject::disconnect(connection);
        return ok;
    }
    static void pick(QComboBox *combo, const QString &text)
    {
        const int index = combo->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    QString stored(const QString &key) const
    {
        return m_store->GetSetting(QStringLiteral("ferrox"), QStringLiteral("Settings2"), key,
                                   QStringLiteral("<missing>"));
    }

    FakeDialogs dialogs;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<QtSerialPort> port;
    std::unique_ptr<Session> session;

    QTemporaryDir m_dir;

private:
    std::unique_ptr<QtSettingsStore> m_store;
};

struct FirmwareCase
{
    const char *firmware;
    int jumper;
    int speeds;
    int directions;
    bool rateMeasure;
    bool dataWidth;
};

class EveryFirmware : public WindowLink, public testing::WithParamInterface<FirmwareCase>
{
};

TEST_P(EveryFirmware, StartUpAdaptsTheWindow)
{
    const FirmwareCase c = GetParam();
    BoardProcess board(words("--firmware") << QLatin1String(c.firmware) << words("--jumper")
                                           << QString::number(c.jumper));
    FERROX_START_BOARD(board);
    build(board, c.jumper == 115200 ? "COM_speed=115200\nMonitor_speed=\" 38400\"\n" : "");
    ASSERT_TRUE(startUp());

    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(window->statusText().startsWith(QStringLiteral("Ferrox LM ") + QLatin1String(c.firmware)));
    EXPECT_TRUE(window->statusText().endsWith(QStringLiteral("  COM1") + kLinkOk));
    const ConnectionCheck &check = session->link().check();
    EXPECT_TRUE(check.results().BoardVerified);
    EXPECT_EQ(check.results().FirmwareVersion, QLatin1String(c.firmware));

    SettingsPanel *panel = window->settingsPanel();
    EXPECT_EQ(panel->monitorSpeed()->count(), c.speeds);
    EXPECT_EQ(panel->monitorSpeed()->currentText(),
              c.jumper == 115200 ? QStringLiteral(" 38400") : QStringLiteral("  9600"));
    EXPECT_EQ(panel->direction()->count(), c.directions);
    EXPECT_EQ(panel->direction()->currentText(), QStringLiteral("双方向"));
    EXPECT_EQ(window->menuItem(QStringLiteral("mnuRateMeasure"))->isEnabled(), c.rateMeasure);
    EXPECT_EQ(panel->dataOnly()->isEnabled(), c.dataWidth);
    EXPECT_EQ(panel->dataAndParity()->isEnabled(), c.dataWidth);
    EXPECT_TRUE(session->sampler().isSamplingEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    OverAPty, EveryFirmware,
    testing::Values(FirmwareCase{"V1.01", 57600, 4, 1, false, false},
                    FirmwareCase{"V1.01", 115200, 6, 1, false, false},
                    FirmwareCase{"V1.02", 57600, 4, 3, false, false},
                    FirmwareCase{"V1.02", 115200, 6, 3, false, false},
                    FirmwareCase{"V1.03", 57600, 8, 3, false, false},
                    FirmwareCase{"V1.03", 115200, 10, 3, false, false},
                    FirmwareCase{"V1.04", 57600, 8, 3, true, false},
                    FirmwareCase{"V1.04", 115200, 10, 3, true, false},
                    FirmwareCase{"V1.05", 57600, 8, 3, true, true},
                    FirmwareCase{"V1.05", 115200, 10, 3, true, true}));

// A port that cannot be had at start-up: only the port message, nothing
// more when the check then fails.
TEST_F(WindowLink, StartUpWithAnUnusablePortShowsOnlyThePortMessage)
{
    for (const auto &[settings, number] : {std::pair{"COM_Port=COM3\n", 3}, std::pair{"COM_speed=fast\n", 1}}) {
        SCOPED_TRACE(settings);
        dialogs.messages.clear();
        BoardProcess board;
        FERROX_START_BOARD(board);
        build(board, settings);
        ASSERT_TRUE(startUp());
        QTest::qWait(1500);
        ASSERT_EQ(dialogs.messages.size(), 1);
        EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("通信ポート"));
        EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Exclamation);
        const QRegularExpression text(QStringLiteral("^COM%1 は使用できませんでした。　{10}[1-9][0-9]*     $").arg(number));
        EXPECT_TRUE(text.match(dialogs.messages[0].text).hasMatch()) << dialogs.messages[0].text.toStdString();
        EXPECT_FALSE(session->sampler().isSamplingEnabled());
        EXPECT_FALSE(port->isOpen());
    }
}

// Boards that do not answer as ours does: the long message, after the
// firmware message where the firmware is unknown.
TEST_F(WindowLink, StartUpWithoutAUsableAnswer)
{
    const QString firmware = QStringLiteral("*** ファームウエアバージョン ミスマッチ ***");
    const QString noAnswer = QStringLiteral("現在の設定：COM1。");
    const struct
    {
        const char *options;
        QString status;
        QStringList messageStarts;
    } cases[] = {
        {"--silent", noAnswer, {kNoBoard}},
        {"--jumper 115200", noAnswer, {kNoBoard}},
        {"--firmware V2.00", QStringLiteral("ファームウエアバージョン ミスマッチ"), {firmware, kNoBoard}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.options);
        dialogs.messages.clear();
        BoardProcess board(words(c.options));
        FERROX_START_BOARD(board);
        build(board);
        ASSERT_TRUE(startUp());
        ASSERT_EQ(dialogs.messages.size(), c.messageStarts.size());
        for (qsizetype i = 0; i < c.messageStarts.size(); ++i)
            EXPECT_TRUE(dialogs.messages[i].text.startsWith(c.messageStarts[i])) << i;
        EXPECT_TRUE(window->statusText().startsWith(c.status));
        EXPECT_TRUE(session->link().check().results().LinkFailed);
    }
}

TEST_F(WindowLink, PortAndLinkSpeedChoices)
{
    BoardProcess board;
    FERROX_START_BOARD(board);
    build(board);
    ASSERT_TRUE(startUp());
    ASSERT_TRUE(session->sampler().isSamplingEnabled());

    // A missing port: said so, the old one kept and not stored.
    pick(window->settingsPanel()->comPort(), QStringLiteral("COM17"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialogs.messages.isEmpty(); }, 3000));
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("COM17 は存在しませんでした。") + QString(10, QChar(0x3000)));
    EXPECT_EQ(window->settingsPanel()->comPort()->currentText(), QStringLiteral("COM1"));
    ASSERT_TRUE(pressPortCheck()); // opens port 1 again
    EXPECT_TRUE(session->link().check().results().BoardVerified);

    // A link speed the jumper does not match: stored, the jumper asked for, silence.
    dialogs.messages.clear();
    pick(window->settingsPanel()->pcSpeed(), QStringLiteral("115200"));
    EXPECT_EQ(stored(QStringLiteral("COM_speed")), QStringLiteral("115200"));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(QStringLiteral("*** PC通信スピード変更 ***\r\n")));
    ASSERT_TRUE(pressPortCheck());
    EXPECT_TRUE(session->link().check().results().LinkFailed);
    EXPECT_FALSE(session->sampler().isSamplingEnabled());
    EXPECT_EQ(dialogs.messages.size(), 1);

    // Back to the jumper's speed: the board answers again.
    pick(window->settingsPanel()->pcSpeed(), QStringLiteral(" 57600"));
    ASSERT_TRUE(pressPortCheck());
    EXPECT_TRUE(session->link().check().results().BoardVerified);
    EXPECT_TRUE(window->statusText().endsWith(kLinkOk));

    // Closing the window closes the port.
    window->close();
    EXPECT_FALSE(port->isOpen());
}

// A device path typed into the port choice is the port: opened as it is,
// named in the status line, stored, and opened again at the next start.
TEST_F(WindowLink, ATypedDevicePathIsThePort)
{
    BoardProcess board;
    FERROX_START_BOARD(board);
    build(board, "COM_Port=COM2\n"); // a missing port to begin with
    ASSERT_TRUE(startUp());
    dialogs.messages.clear();

    bool finished = false;
    QObject::connect(&session->link().check(), &ConnectionCheck::checkFinished, [&] { finished = true; });
    QLineEdit *typed = window->settingsPanel()->comPort()->lineEdit();
    typed->selectAll();
    QTest::keyClicks(typed, board.linkPath());
    QTest::keyClick(typed, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished; }, 5000));
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(session->link().check().results().BoardVerified);
    EXPECT_TRUE(window->statusText().endsWith(QStringLiteral("  ") + board.linkPath() + kLinkOk));
    EXPECT_EQ(stored(QStringLiteral("COM_Port")), board.linkPath());

    build(board, "COM_Port=" + board.linkPath().toUtf8() + "\n");
    ASSERT_TRUE(startUp());
    EXPECT_TRUE(session->link().check().results().BoardVerified);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(WindowLink, ABoardThatHangsUpIsReportedAndNothingHangs)
{
    BoardProcess board(words("--hangup-after 1"));
    FERROX_START_BOARD(board);
    build(board);
    ASSERT_TRUE(startUp());
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
    build(board);
    ASSERT_TRUE(startUp());
    window->menuItem(QStringLiteral("mnuMonitorStart"))->trigger();
    const QByteArray traffic = demoTraffic();
    CaptureRun &run = session->monitor().run();
    ASSERT_TRUE(QTest::qWaitFor([&] { return run.CaptureCount() >= traffic.size(); }, 5000));
    window->menuItem(QStringLiteral("mnuMonitorStop"))->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !session->MonitorBusy() && !run.isActive(); }, 5000));
    QFile data(m_dir.filePath(QStringLiteral("rs_data.dat")));
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
