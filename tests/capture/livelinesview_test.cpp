// The painted live view under a saturated stream: where it shows, what it
// keeps still, what it copies and how it colours the two directions.
#include "capture/livelines.h"
#include "capture/texts.h"
#include "capture/ui/livelinesview.h"

#include "platform/ui/appearance.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace ferrox;
using namespace Qt::StringLiterals;

namespace {

const QColor J1Colour(0x00, 0x60, 0x9A);
const QColor J2Colour(0xA0, 0x40, 0x00);

class LiveLinesViewTest : public ::testing::Test
{
protected:
    LiveLinesViewTest()
    {
        view.setFont(gothicFont(9));
        view.resize(420, 160);
        view.show();
        lines.setHeader(u"warning"_s);
    }
    // About a tenth of a second of a saturated 115,200-baud link.
    void feed(int blocks, Direction sender = Direction::J2)
    {
        for (int i = 0; i < blocks; ++i) {
            std::vector<LiveCell> block;
            for (int b = 0; b < 64; ++b)
                block.push_back(LiveCell::of({static_cast<std::uint8_t>(b), sender}, LiveDisplay::Hex));
            lines.append(block);
        }
        QTest::qWait(2 * LiveLinesView::FrameMs);
    }
    bool shows(const QColor &colour)
    {
        const QImage image = view.viewport()->grab().toImage();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) == colour)
                    return true;
        return false;
    }

    LiveLines lines{4096};
    LiveLinesView view{lines};
};

} // namespace

TEST_F(LiveLinesViewTest, TheHeaderWrapsWithinTheViewsWidth)
{
    const QString warning = CaptureTexts::simpleMonitorWarning();
    lines.setHeader(warning);
    const QStringList header = view.headerLines();
    EXPECT_EQ(header.join(QString()), warning);
    EXPECT_GT(header.size(), 1);
    int widest = 0;
    for (const QString &line : header)
        widest = std::max(widest, view.fontMetrics().horizontalAdvance(line));
    EXPECT_LE(widest, view.viewport()->width());
}

TEST_F(LiveLinesViewTest, ScrolledUpItStaysStillShowsThatNewerLinesWaitAndFollowsAgainAtTheBottom)
{
    feed(20);
    const QColor stripColour = view.palette().toolTipBase().color();
    EXPECT_FALSE(shows(stripColour));
    QScrollBar *bar = view.verticalScrollBar();
    bar->setValue(bar->maximum() - 10);
    const QString topText = lines.lineText(view.topLine());

    // Six times what the ring keeps while it follows.
    feed(400);
    EXPECT_EQ(lines.lineText(view.topLine()), topText);
    EXPECT_TRUE(lines.isHeld());
    EXPECT_TRUE(shows(stripColour));

    bar->setValue(bar->maximum());
    feed(1);
    EXPECT_FALSE(lines.isHeld());
    EXPECT_EQ(view.topLine() + view.bodyRows(), lines.lineCount());
}

// Following the stream, a frame moves the rows still shown up as they are
// and paints only the rest: what reaches the screen must be what a whole
// paint shows, the last row grown by later bytes included.
TEST_F(LiveLinesViewTest, AFrameThatMovesRowsUpShowsWhatAWholePaintShows)
{
    for (int step = 0; step < 20; ++step) {
        std::vector<LiveCell> cells;
        for (int b = 0; b < 7 + step % 13; ++b)
            cells.push_back(LiveCell::of({static_cast<std::uint8_t>(step + b), step % 3 ? Direction::J1 : Direction::J2},
                                         LiveDisplay::Hex));
        lines.append(cells);
        QTest::qWait(LiveLinesView::FrameMs + 10);
    }
    const QRect viewport(view.viewport()->mapTo(&view, QPoint(0, 0)), view.viewport()->size());
    const auto showsAWholePaint = [&] {
        const QImage whole = view.viewport()->grab().toImage();
        const QImage onScreen = QGuiApplication::primaryScreen()->grabWindow(view.winId()).toImage();
        return onScreen.copy(viewport).convertToFormat(whole.format()) == whole;
    };
    // Once the last frame is out (a busy machine may delay it).
    EXPECT_TRUE(QTest::qWaitFor(showsAWholePaint, 2000));
}

TEST_F(LiveLinesViewTest, ADragSelectsWholeCellsThatCopyAsShown)
{
    feed(1);
    QScrollBar *bar = view.verticalScrollBar();
    bar->setValue(0);
    const int rowY = view.fontMetrics().height() * 3 / 2; // the first line below the header
    const int column = view.fontMetrics().horizontalAdvance(u'0');
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, QPoint(column * 4, rowY));
    QTest::mouseMove(view.viewport(), QPoint(column * 10, rowY));
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, QPoint(column * 10, rowY));
    // From the boundary nearest column 4 (after " 00") to the one nearest
    // column 10 (before " 03"): two whole hex cells.
    EXPECT_EQ(view.selectedText(), u" 01 02"_s);

    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), u" 01 02"_s);
}

TEST_F(LiveLinesViewTest, DirectionColoursFollowTheirSwitch)
{
    view.setDirectionColors(true, J1Colour, J2Colour);
    feed(1, Direction::J1);
    EXPECT_TRUE(shows(J1Colour));
    EXPECT_FALSE(shows(J2Colour));
    view.setDirectionColors(false, J1Colour, J2Colour);
    EXPECT_FALSE(shows(J1Colour));
}

// Another widget's repaint (a capture's byte counter) takes the waiting
// lines along, so the window paints once for both.
TEST(LiveLinesViewFrames, AFrameRidesOnTheWindowsNextRepaint)
{
    LiveLines lines;
    QWidget window;
    auto *view = new LiveLinesView(lines, &window);
    view->setGeometry(0, 0, 300, 100);
    auto *counter = new QLabel(QStringLiteral("0"), &window);
    counter->setGeometry(0, 110, 100, 20);
    window.show();
    QTest::qWait(2 * LiveLinesView::FrameMs); // the first frames are done

    std::vector<LiveCell> block(2000, LiveCell::of({0x41, Direction::J1}, LiveDisplay::Hex));
    lines.append(block);
    counter->setText(QStringLiteral("2000"));
    QCoreApplication::sendPostedEvents(); // the repaint, long before the frame's timer
    EXPECT_GT(view->verticalScrollBar()->maximum(), 0);
}
