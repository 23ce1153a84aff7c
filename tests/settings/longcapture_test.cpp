#include "settings/longcapture.h"

#include "support/fakestores.h"

#include <gtest/gtest.h>

using namespace ferrox;
using namespace ferrox::test;

namespace {

const QString group = QStringLiteral("ferrox/LongCapture/");

TEST(LongCaptureStored, AValueComesBackAsItselfFromItsOwnGroup)
{
    MemorySettingsStore store;
    const LongCaptureSettings chosen{true, 4000, 24, QStringLiteral("/data/line 1"), true};
    storeLongCapture(store, chosen);
    EXPECT_EQ(storedLongCapture(store), chosen);
    EXPECT_EQ(store.program(QStringLiteral("FileBytes")), QStringLiteral("<unset>"));
    EXPECT_EQ(store.values.value(group + QStringLiteral("On")), QStringLiteral("1"));
}

// A first run and a hand-edited store: off, a full buffer a file, every
// file kept, the program folder, no reconnect.
TEST(LongCaptureStored, MissingAndUnreadableTextsAreTheDefaults)
{
    MemorySettingsStore store;
    EXPECT_EQ(storedLongCapture(store), LongCaptureSettings{});
    for (const char *bytes : {"1", "262145", "4k", "-2"}) {
        store.values.insert(group + QStringLiteral("FileBytes"), QLatin1String(bytes));
        EXPECT_EQ(storedLongCapture(store).fileBytes, LongCaptureSettings::LargestFile) << bytes;
    }
    store.values.insert(group + QStringLiteral("Files"), QStringLiteral("-1"));
    store.values.insert(group + QStringLiteral("On"), QStringLiteral("yes"));
    EXPECT_EQ(storedLongCapture(store), LongCaptureSettings{});
}

// Each run gets names of its own, so an earlier run's files never stop a
// Start; no folder is the program folder.
TEST(LongCaptureSeries, IsNamedByTheStartInTheChosenFolder)
{
    const QDateTime start(QDate(2026, 12, 7), QTime(21, 5, 9));
    LongCaptureSettings settings;
    EXPECT_EQ(longCaptureSeries(settings, QStringLiteral("/home/u/ferrox/"), start),
              QStringLiteral("/home/u/ferrox/long-20261207-210509.dat"));
    settings.folder = QStringLiteral("/data/line1/");
    EXPECT_EQ(longCaptureSeries(settings, QStringLiteral("/home/u/ferrox/"), start),
              QStringLiteral("/data/line1/long-20261207-210509.dat"));
}

} // namespace
