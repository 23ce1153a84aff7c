// The editor's hexadecimal text both ways: the view's layout, the three
// text functions and reading an edited text back into a stream; the editor's files and window geometry.
#include "editor/editorstore.h"
#include "editor/hextext.h"
#include "editor/modifylayout.h"

#include "support/fakestores.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ferrox;

namespace {

QByteArray hex(const char *text) { return QByteArray::fromHex(text); }
CaptureBuffer bufferOf(const QByteArray &stream) { return CaptureBuffer::fromStream(stream); }

TEST(HexText, TheViewWritesSixteenValuesARowUpToTheEndCodeOrAZero)
{
    const QByteArray twenty = hex("A0B0A1B1A2B2A3B3A4B4A5B5A6B6A7B7A8B8A9B9");
    const struct { const char *name; QByteArray stream; QByteArray view; } rows[] = {
        {"twenty values", twenty, "A0 B0 A1 B1 A2 B2 A3 B3 A4 B4 A5 B5 A6 B6 A7 B7 \r\r\nA8 B8 A9 B9 "},
        {"end code as 16th value", QByteArray(15, '\xA1') + '\xFF' + '\xA2', QByteArray("A1 ").repeated(15) + "FF \r\r\n"},
        {"zero before the end code", hex("A4B100A2FF"), "A4 B1 "},
    };
    for (const auto &row : rows)
        EXPECT_EQ(ModifyViewText(bufferOf(row.stream)), row.view) << row.name;

    // A full buffer shows positions 0 to 262143 only.
    const QByteArray view = ModifyViewText(bufferOf(QByteArray(CaptureBuffer::Size, '\xA5')));
    EXPECT_EQ(view.count("A5 "), CaptureBuffer::Size - 1);
}

TEST(HexText, NumberTextsInEachRadix)
{
    const struct { const char *text; qint32 value; } rows[] = {
        {"0X1f", 31}, {"0b101", 5}, {"0x", 0}, {"0x0x41", -1}, {"0x7FFFFFFF", 2147483647}, {"0x80000000", -1},
        {"0b2", -1}, {"12.5", 12}, {"13.5", 14}, {"1e3", 1000}, {"3000000000", -1}, {"inf", -1},
        // Only ASCII characters are digits: the ligature U+FB00 upper-cases to "FF".
        {"0x\uFB00", -1}, {"0\uFF38\uFF11", -1}, {"\uFF11\uFF12", -1},
    };
    for (const auto &row : rows)
        EXPECT_EQ(ParseNumberText(QString::fromUtf8(row.text)), row.value) << row.text;
}

TEST(HexText, TokensAreSeparatedBySpacesAndTheFirstEqualsSign)
{
    EXPECT_EQ(ExpandTabs(QStringLiteral("A4\tB1")), QStringLiteral("A4        B1"));
    EXPECT_EQ(SplitTokens(QStringLiteral("  A4   B1=C2=D ")),
              (QStringList{QStringLiteral("A4"), QStringLiteral("B1"), QStringLiteral("="), QStringLiteral("C2=D")}));
    EXPECT_EQ(SplitTokens(QStringLiteral("A4　B1"))->size(), 1); // an ideographic space separates nothing
    EXPECT_EQ(SplitTokens(QStringLiteral("A ").repeated(TokenSlots))->size(), TokenSlots);
    EXPECT_FALSE(SplitTokens(QStringLiteral("A ").repeated(TokenSlots + 1)));
}

TEST(HexText, AnEditedTextBecomesTheStreamOnlyWhenEveryTokenIsAByte)
{
    const QString values1024 = QStringLiteral("A1 ").repeated(StoredTokensPerLine);
    const struct { const char *name; QString text; std::optional<QByteArray> stream; } rows[] = {
        {"view text unchanged", QStringLiteral("A4 B1 80 96 FF "), hex("A4B18096FF")},
        {"any line ends", QStringLiteral("A4\r\r\nB1\n\rFF\u2029"), hex("A4B1FF")},
        {"1024 values on a line", values1024 + QStringLiteral("\nFF"), QByteArray(1024, '\xA1') + '\xFF'},
        {"above 0xFF", QStringLiteral("1FF"), std::nullopt},
        {"equals sign", QStringLiteral("A4 = B1 FF"), std::nullopt},
        {"1025 values on a line", values1024 + QStringLiteral("FF"), std::nullopt},
        {"no value", QStringLiteral(" ,\r\n"), std::nullopt},
        {"a ligature is no digit", QStringLiteral("A4 \uFB00 FF"), std::nullopt},
    };
    const CaptureBuffer current = bufferOf(hex("A0B0A1B1A2B2A3B3FF"));
    for (const auto &row : rows) {
        const std::optional<CaptureBuffer> edited = readEditedText(row.text, current);
        ASSERT_EQ(edited.has_value(), row.stream.has_value()) << row.name;
        if (edited) {
            EXPECT_EQ(edited->stream(), *row.stream) << row.name;
            // Positions after the new end keep what they held.
            if (row.stream->size() < 9) {
                EXPECT_EQ(int(edited->at(8)), 0xFF) << row.name;
            }
        }
    }
}

TEST(HexText, TheBufferBoundsTheValuesAndBigTextsReadQuickly)
{
    const QString full = (QStringLiteral("A5 ").repeated(16) + QStringLiteral("\r\n")).repeated(CaptureBuffer::LastIndex / 16)
        + QStringLiteral("FF");
    const std::optional<CaptureBuffer> edited = readEditedText(full, {});
    ASSERT_TRUE(edited);
    EXPECT_EQ(edited->CaptureEnd(), CaptureBuffer::LastIndex);
    EXPECT_FALSE(readEditedText(full + QStringLiteral(" A5"), {}));

    // A 5 MB paste, as lines and as one line: refused, not stored in part.
    EXPECT_FALSE(readEditedText(QStringLiteral("A4 B1\r\n").repeated(750000), {}));
    EXPECT_FALSE(readEditedText(QStringLiteral("A4 ").repeated(1750000), {}));
}

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
    EXPECT_EQ(test::readFile(folder + QStringLiteral("rs_mod.rsm")), QByteArray("a4 b1\r\nff"));

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
