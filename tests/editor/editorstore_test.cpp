// The editor's files and window geometry.
#include "editor/editorstore.h"
#include "editor/hextext.h"
#include "editor/modifylayout.h"

#include "support/fakestores.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ferrox;

namespace {

TEST(EditorStore, TheStoreWritesItsFileOnlyAfterTheEndCodeCheck)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    const CaptureBuffer current = CaptureBuffer::fromStream(QByteArray::fromHex("A4B18096FF"));

    EXPECT_TRUE(writeEditorViewFile(folder, current).message.isEmpty());
    EXPECT_EQ(test::readFile(folder + QStringLiteral("rs_temp.rsm")), QByteArray("A4 B1 80 96 FF "));

    EditorStoreResult result = storeEditedText(folder, QStringLiteral("41 42"), current);
    EXPECT_EQ(result.status, EditorStoreResult::Status::NoEndCode);
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("rs_mod.rsm")));

    result = storeEditedText(folder, QStringLiteral("a4 b1\nff"), current);
    EXPECT_EQ(result.status, EditorStoreResult::Status::Stored);
    EXPECT_EQ(result.capture.stream(), QByteArray::fromHex("A4B1FF"));
    EXPECT_EQ(test::readFile(folder + QStringLiteral("rs_mod.rsm")), QByteArray("a4 b1\r\nff"));

    EXPECT_EQ(storeEditedText(folder, QStringLiteral("1FF"), current).status, EditorStoreResult::Status::Invalid);
    const QString missing = folder + QStringLiteral("gone/");
    result = storeEditedText(missing, QStringLiteral("FF"), current);
    EXPECT_EQ(result.status, EditorStoreResult::Status::FileFailed);
    EXPECT_TRUE(result.message.contains(QStringLiteral("rs_mod.rsm")));
    EXPECT_FALSE(writeEditorViewFile(missing, current).message.isEmpty());
}

TEST(EditorStore, DamagedGeometryIsBoundedAndTheLayoutNeverGoesNegative)
{
    test::MemorySettingsStore store;
    store.values.insert(QStringLiteral("ferrox/Settings2/MainLeft_m"), QStringLiteral("zz"));
    store.values.insert(QStringLiteral("ferrox/Settings2/MainWidth_m"), QStringLiteral("1e30"));
    EXPECT_EQ(loadEditorGeometry(ProgramSettings(store)), (EditorGeometry{1000, 1000, 480000, 5000}));
    EXPECT_EQ(modifyWindowLayout({6500, 5000}).text, QRectF(0, 240, 6380, 4130));
    EXPECT_EQ(modifyWindowLayout({50, 300}).text, QRectF(0, 240, 0, 0)); // too small for the margins
}

} // namespace
