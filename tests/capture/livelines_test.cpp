#include "capture/livelines.h"
#include "capture/texts.h"

#include <gtest/gtest.h>

#include <random>

using namespace ferrox;
using namespace Qt::StringLiterals;

namespace {

LiveCell hex(std::uint8_t value, Direction sender = Direction::None)
{
    return LiveCell::of({value, sender}, LiveDisplay::Hex);
}

LiveCell text(std::uint8_t value)
{
    return LiveCell::of({value, Direction::None}, LiveDisplay::Text);
}

QStringList allLines(const LiveLines &lines)
{
    QStringList all;
    for (qsizetype i = 0; i < lines.lineCount(); ++i)
        all << lines.lineText(i);
    return all;
}

// A saturated link as a view gets it: blocks of a few dozen bytes in hex
// and text, both directions, control codes and port-error marks among them.
std::vector<LiveCell> saturatedBlock(std::mt19937 &random)
{
    std::vector<LiveCell> block(16 + random() % 48);
    for (LiveCell &cell : block) {
        const auto value = static_cast<std::uint8_t>(random());
        const auto sender = static_cast<Direction>(random() % 3);
        cell = LiveCell::of({value, sender}, random() % 2 ? LiveDisplay::Hex : LiveDisplay::Text);
        if (random() % 500 == 0)
            cell = LiveCell::portError();
    }
    return block;
}

QString textOf(const std::vector<LiveCell> &cells)
{
    QString all;
    for (const LiveCell &cell : cells)
        cell.appendText(all);
    return all;
}

} // namespace

TEST(LiveLines, LinesBreakOnlyBetweenCells)
{
    struct Case
    {
        int columns;
        std::vector<LiveCell> cells;
        QStringList lines;
    };
    const std::vector<Case> cases{
        {9, {hex(0x41), hex(0x42), hex(0x43), hex(0x44)}, {u" 41 42 43"_s, u" 44"_s}},
        {8, {hex(0x41), hex(0x42), hex(0x43)}, {u" 41 42"_s, u" 43"_s}},
        {6, {text('A'), text(0x0D), text('B')}, {u"A[CR_]"_s, u"B"_s}},
        {5, {text('A'), text(0x0D), text('B')}, {u"A"_s, u"[CR_]"_s, u"B"_s}},
        // A cell wider than the grid takes a line of its own.
        {2, {text('A'), text(0x02), text('B')}, {u"A"_s, u"[STX]"_s, u"B"_s}},
        {7, {hex(0x41), LiveCell::portError(), hex(0x42)}, {u" 41"_s, u"[err]"_s, u" 42"_s}},
    };
    for (const Case &c : cases) {
        LiveLines lines;
        lines.setColumns(c.columns);
        lines.append(c.cells);
        EXPECT_EQ(allLines(lines), c.lines) << c.columns;
    }
}

TEST(LiveLines, ASaturatedStreamKeepsTheHeaderAndLosesNothingButWholeOldLines)
{
    LiveLines lines(4096, 64 * 1024);
    lines.setColumns(80);
    lines.setHeader(CaptureTexts::simpleMonitorWarning());
    std::mt19937 random(20);
    std::vector<LiveCell> fed;
    qint64 bytes = 0;
    for (int i = 0; i < 2000; ++i) {
        const std::vector<LiveCell> block = saturatedBlock(random);
        lines.append(block);
        fed.insert(fed.end(), block.begin(), block.end());
        for (const LiveCell &cell : block)
            bytes += cell.form != LiveCell::Form::PortError;
    }
    EXPECT_EQ(lines.header(), CaptureTexts::simpleMonitorWarning());
    EXPECT_EQ(lines.bytesAppended(), bytes);
    EXPECT_EQ(lines.endCell(), static_cast<qint64>(fed.size()));
    EXPECT_LE(lines.endCell() - lines.firstCell(), 4096);
    // What is held is exactly the newest cells, in order, split at a line start.
    const std::vector<LiveCell> newest(fed.begin() + lines.firstCell(), fed.end());
    EXPECT_EQ(allLines(lines).join(QString()), textOf(newest));
    EXPECT_EQ(lines.firstCellOfLine(0), lines.firstCell());
}
