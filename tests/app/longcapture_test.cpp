// The window's long capture where it must not wait for a board: a Start it
// refuses, and a Stop while it waits for a device that is gone.
#include "appfixture.h"

#include "app/ui/colorbox.h"
#include "app/ui/settingspanel.h"
#include "platform/qtserialport.h"

#include <QElapsedTimer>

using namespace ferrox;
using namespace ferrox::test;

namespace {

class LongCapture : public AppTest
{
protected:
    void writeLongCapture(const QByteArray &lines) { writeFile(iniPath(), "[LongCapture]\nOn=1\n" + lines); }
};

// A folder that cannot be made: the user is told, the board hears nothing
// and the window is ready for the next Start.
TEST_F(LongCapture, AFolderThatCannotBeMadeRefusesTheStart)
{
    writeFile(dir.filePath(QStringLiteral("taken")), "a file");
    writeLongCapture("Folder=" + dir.filePath(QStringLiteral("taken/long")).toUtf8() + "\n");
    ASSERT_TRUE(wireToBoard());
    board->port().written.clear();
    menuItem(QStringLiteral("mnuMonitorStart"))->trigger();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].text.contains(dir.filePath(QStringLiteral("taken"))));
    EXPECT_FALSE(wiring->state().MonitorBusy());
    EXPECT_EQ(board->port().written, QByteArray());
}

// With 自動再接続 a device missing from the start is waited for, and the
// window says so; Stop ends the wait at once, not after a stream's stop.
TEST_F(LongCapture, StopWhileItWaitsForTheDeviceEndsAtOnce)
{
    writeLongCapture("Reconnect=1\nFolder=" + dir.filePath(QStringLiteral("long")).toUtf8() + "\n");
    QtSerialPort port([gone = dir.filePath(QStringLiteral("gone/com1"))](int) { return gone; });
    ASSERT_TRUE(wireWindow(port));
    menuItem(QStringLiteral("mnuMonitorStart"))->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return wiring->state().waitingForLink(); }, 5000));
    EXPECT_EQ(window().settingsPanel()->receiveLamp()->color(), QColor(Qt::yellow));
    QElapsedTimer stopping;
    stopping.start();
    menuItem(QStringLiteral("mnuMonitorStop"))->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !wiring->state().MonitorBusy(); }, 5000));
    EXPECT_LT(stopping.elapsed(), 500);
    EXPECT_FALSE(wiring->state().waitingForLink());
}

} // namespace
