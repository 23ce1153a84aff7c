#include "platform/qtsettingsstore.h"
#include "support/testfiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ferrox;

namespace {

class SettingsStoreTest : public testing::Test
{
protected:
    QTemporaryDir dir;
    QString ini() const { return dir.filePath(QStringLiteral("ferrox.ini")); }
};

TEST_F(SettingsStoreTest, AnUnwritableSettingsFileIsToldOnceAndTheValuesStay)
{
    // A folder that cannot be made (a file holds its name): even root cannot write there.
    const QString blocked = test::writeFile(dir.filePath(QStringLiteral("blocked")), {});
    QtSettingsStore store(blocked + QStringLiteral("/ferrox.ini"));
    QStringList told;
    store.onWriteFailure([&told](const QString &file) { told << file; });
    store.SaveSetting(QStringLiteral("ferrox"), QStringLiteral("Settings2"), QStringLiteral("Com_port"), QStringLiteral("COM3"));
    store.SaveSetting(QStringLiteral("ferrox"), QStringLiteral("Settings2"), QStringLiteral("Com_port"), QStringLiteral("COM4"));
    EXPECT_EQ(told, QStringList{blocked + QStringLiteral("/ferrox.ini")});
    EXPECT_EQ(store.GetSetting(QStringLiteral("ferrox"), QStringLiteral("Settings2"), QStringLiteral("Com_port"), QString()),
              QStringLiteral("COM4"));
}

TEST_F(SettingsStoreTest, GarbageNumbersFallBackToTheDefault)
{
    test::writeFile(ini(), "[Settings2]\nMainLeft=abc\nMainTop=1e99999\nMainWidth=\nRTS=yes\nDTR=99999\n"
             "MainHeight=  4321  \nCOM_Port=\"COM1,COM2\"\nDirection=a,b\n");
    QtSettingsStore store(ini());
    ProgramSettings settings(store);
    EXPECT_EQ(settings.number(QStringLiteral("MainLeft"), 1000), 1000.0f);
    EXPECT_EQ(settings.number(QStringLiteral("MainTop"), 1000), 1000.0f);
    EXPECT_EQ(settings.number(QStringLiteral("MainHeight"), 6500), 4321.0f);
    EXPECT_EQ(settings.integer(QStringLiteral("RTS"), 0), 0);
    EXPECT_EQ(settings.integer(QStringLiteral("DTR"), 0), 0) << "beyond 16 bits";
    // Texts come back as stored, even where the INI reader sees a list.
    EXPECT_EQ(settings.text(QStringLiteral("COM_Port"), {}), QStringLiteral("COM1,COM2"));
    EXPECT_EQ(settings.text(QStringLiteral("Direction"), {}), QStringLiteral("a,b"));
}

} // namespace
