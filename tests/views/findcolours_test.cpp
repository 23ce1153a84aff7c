// Reading a rendering in its window: finding text and bytes, direction
// colours on screen only, hex and character cells linked by selection.
#include "data/renderer.h"
#include "views/texts.h"
#include "views/ui/bytehighlighter.h"
#include "views/ui/documentwindow.h"
#include "views/ui/findbar.h"
#include "views/ui/logtextview.h"
#include "views/ui/logwindowarea.h"

#include "data/datatesting.h"
#include "support/fakestores.h"

#include <QComboBox>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <gtest/gtest.h>

using namespace ferrox;
using namespace ferrox::test;

namespace {

// J1 sends "AB" then STX, J2 answers "AB", and after the end code "C".
const QByteArray conversation = ferrox::testing::byJ1("AB\x02") + ferrox::testing::byJ2("AB") + char(0xFF) + ferrox::testing::byJ2("C");

// 3000 bytes by turns from J1 and J2, then J1's DEL: a rendering loaded in pieces.
QByteArray longConversation()
{
    QByteArray stream;
    for (int i = 0; i < 3000; ++i)
        stream += i % 2 ? ferrox::testing::byJ2("b") : ferrox::testing::byJ1("a");
    return stream + ferrox::testing::byJ1("\x7F") + char(0xFF);
}

class FindAndColours : public ::testing::Test
{
protected:
    // Shortcuts need an active window.
    FindAndColours()
    {
        area.resize(900, 600);
        area.show();
        area.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&area));
    }

    // A new window loading the rendering, its load still running.
    DocumentWindow *startShowing(qint32 mode, const QByteArray &stream)
    {
        auto *w = dynamic_cast<DocumentWindow *>(windows.registry().NewLogWindow());
        const RenderResult r = *renderMonitorData(mode, CaptureBuffer::fromStream(stream), {}, {}, ByteMapRequest::Wanted);
        w->loadRendering(r.text, r.byteMap, nullptr);
        return w;
    }
    DocumentWindow *show(qint32 mode, const QByteArray &stream)
    {
        DocumentWindow *w = startShowing(mode, stream);
        EXPECT_TRUE(QTest::qWaitFor([w] { return !w->isLoading(); }, 20000));
        return w;
    }

    static QString find(DocumentWindow *w, const QString &text, FindBar::Kind kind, bool backwards = false)
    {
        w->openFindBar();
        w->findBar()->findChild<QLineEdit *>(QStringLiteral("findText"))->setText(text);
        w->findBar()->findChild<QComboBox *>(QStringLiteral("findKind"))->setCurrentIndex(kind == FindBar::Kind::Bytes);
        w->findAgain(backwards);
        return w->findBar()->findChild<QLabel *>(QStringLiteral("findResult"))->text();
    }
    static QString selected(DocumentWindow *w) { return w->textView()->textCursor().selectedText(); }
    static void select(DocumentWindow *w, qint32 from, qint32 to)
    {
        QTextCursor c = w->textView()->textCursor();
        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        w->textView()->setTextCursor(c);
    }

    // The format drawn at a position: the layout's, not the document's.
    static QTextCharFormat drawnFormat(const QTextDocument &doc, qint32 position)
    {
        const QTextBlock block = doc.findBlock(position);
        const int at = position - block.position();
        for (const QTextLayout::FormatRange &range : block.layout()->formats()) {
            if (at >= range.start && at < range.start + range.length)
                return range.format;
        }
        return {};
    }
    static QTextCharFormat shownFormat(DocumentWindow *w, qint32 position) { return drawnFormat(*w->textView()->document(), position); }
    static const ByteCells::Byte &byte(DocumentWindow *w, qint32 i) { return w->highlighter()->cells().bytes()[size_t(i)]; }

    QMdiArea area;
    RecordingStatus status;
    LogWindowArea windows{area, status};
};

} // namespace

TEST_F(FindAndColours, TextFindsWithCaseChoiceWrapsAndCounts)
{
    auto *w = dynamic_cast<DocumentWindow *>(windows.registry().NewLogWindow());
    w->loadText("Hello hello\r\nHELLO world\r\n", LogWindow::Format::DetectRichText, nullptr);
    QTest::keyClick(w->textView(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(w->findBar()->isVisible());
    EXPECT_FALSE(w->findBar()->findChild<QComboBox *>(QStringLiteral("findKind"))->model()->index(1, 0).flags()
                 & Qt::ItemIsEnabled); // a file's window finds text only

    EXPECT_EQ(find(w, QStringLiteral("hello"), FindBar::Kind::Text), viewtexts::findMatch(1, 3));
    EXPECT_EQ(selected(w), QStringLiteral("Hello"));
    QTest::keyClick(w->textView(), Qt::Key_F3);
    QTest::keyClick(w->textView(), Qt::Key_F3);
    EXPECT_EQ(selected(w), QStringLiteral("HELLO"));
    QTest::keyClick(w->textView(), Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(selected(w), QStringLiteral("hello"));

    w->findBar()->findChild<QCheckBox *>(QStringLiteral("findCase"))->setChecked(true);
    EXPECT_EQ(find(w, QStringLiteral("HELLO"), FindBar::Kind::Text), viewtexts::findMatch(1, 1));
    EXPECT_EQ(find(w, QStringLiteral("HELLO"), FindBar::Kind::Text), viewtexts::findMatch(1, 1) + viewtexts::findWrapped());

    QTest::keyClick(w->findBar()->findChild<QLineEdit *>(QStringLiteral("findText")), Qt::Key_Escape);
    EXPECT_FALSE(w->findBar()->isVisible());
}

TEST_F(FindAndColours, BytesAreFoundAcrossLinesAndDirectionsAndMarkedInBothColumns)
{
    DocumentWindow *w = show(4, conversation);
    EXPECT_EQ(find(w, QStringLiteral("41 42"), FindBar::Kind::Bytes), viewtexts::findMatch(1, 2));
    EXPECT_EQ(selected(w), QStringLiteral("41 42"));
    EXPECT_EQ(shownFormat(w, byte(w, 4).hexStart).background().color(), ByteHighlighter::matchBackground());
    EXPECT_EQ(shownFormat(w, byte(w, 4).charStart).background().color(), ByteHighlighter::matchBackground());

    // J1's last byte and J2's first: another line, the other side.
    EXPECT_EQ(find(w, QStringLiteral("024142"), FindBar::Kind::Bytes), viewtexts::findMatch(1, 1));
    EXPECT_TRUE(w->highlighter()->isMarked(2, ByteHighlighter::Found));
    EXPECT_TRUE(w->highlighter()->isMarked(3, ByteHighlighter::Found));

    // Nothing after the end code belongs to the data.
    EXPECT_EQ(find(w, QStringLiteral("42 43"), FindBar::Kind::Bytes), viewtexts::findNotFound());
}

// In a log window of the size it opens at, the bar squeezes neither the
// byte sequence typed nor its own options.
TEST_F(FindAndColours, TheFindBarShowsABytesSequenceAndItsOptionsWhole)
{
    DocumentWindow *w = show(4, conversation);
    w->openFindBar();
    auto *field = w->findBar()->findChild<QLineEdit *>(QStringLiteral("findText"));
    auto *caseOption = w->findBar()->findChild<QCheckBox *>(QStringLiteral("findCase"));
    ASSERT_TRUE(QTest::qWaitFor([field] { return field->isVisible(); }, 3000));
    EXPECT_GE(field->width(), field->fontMetrics().horizontalAdvance(QStringLiteral("44 30 32 03 0D 0A")));
    EXPECT_GE(caseOption->width(), caseOption->sizeHint().width());
}

TEST_F(FindAndColours, DirectionColoursAreOnScreenOnly)
{
    windows.setDirectionColors(true);
    DocumentWindow *w = show(3, conversation);
    EXPECT_EQ(shownFormat(w, byte(w, 0).hexStart).foreground().color(), ByteHighlighter::j1Color());
    EXPECT_EQ(shownFormat(w, byte(w, 0).charStart).foreground().color(), ByteHighlighter::j1Color());
    EXPECT_EQ(shownFormat(w, byte(w, 4).hexStart).foreground().color(), ByteHighlighter::j2Color());
    // The document, which saving and printing take, holds no colour.
    QTextCursor at(w->textView()->document());
    at.setPosition(byte(w, 0).hexStart + 1);
    EXPECT_FALSE(at.charFormat().hasProperty(QTextFormat::ForegroundBrush));
    windows.setDirectionColors(false);
    EXPECT_FALSE(shownFormat(w, byte(w, 0).hexStart).hasProperty(QTextFormat::ForegroundBrush));

    // A printout in colours, when asked: of all the text, or of a selection from J2's first byte.
    const ByteCells &cells = w->highlighter()->cells();
    const auto printed = [&](bool selection, const ByteCells *colours, qint32 at) { return drawnFormat(*w->textView()->printedDocument(selection, colours), at); };
    EXPECT_FALSE(printed(false, nullptr, byte(w, 0).hexStart).hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_EQ(printed(false, &cells, byte(w, 0).hexStart).foreground().color(), ByteHighlighter::j1Color());
    select(w, byte(w, 3).hexStart, byte(w, 4).charEnd);
    EXPECT_EQ(printed(true, &cells, 0).foreground().color(), ByteHighlighter::j2Color());
}

// A long rendering colours the lines near the screen; a line scrolled to
// is coloured before it is painted, and a found byte far down too.
TEST_F(FindAndColours, ColoursFollowTheScreenThroughALongRendering)
{
    windows.setDirectionColors(true);
    DocumentWindow *w = show(5, longConversation());
    const auto colour = [w](qint32 i) { return shownFormat(w, byte(w, i).hexStart).foreground().color(); };
    EXPECT_EQ(colour(1), ByteHighlighter::j2Color());
    EXPECT_FALSE(shownFormat(w, byte(w, 2999).hexStart).hasProperty(QTextFormat::ForegroundBrush));

    QScrollBar *bar = w->textView()->verticalScrollBar();
    bar->setValue(bar->maximum());
    EXPECT_EQ(colour(2999), ByteHighlighter::j2Color());

    bar->setValue(0);
    EXPECT_EQ(find(w, QStringLiteral("7F"), FindBar::Kind::Bytes), viewtexts::findMatch(1, 1));
    EXPECT_EQ(shownFormat(w, byte(w, 3000).hexStart).background().color(), ByteHighlighter::matchBackground());
}

// While a long rendering loads, its first screen takes edits: the cells
// of the text loaded and of the text still coming move with them, and a
// find asked for meanwhile runs over the whole text once it is in.
TEST_F(FindAndColours, TextInsertedWhileALongRenderingLoadsMovesItsCellsAndAFindWaitsForTheWholeText)
{
    windows.setDirectionColors(true);
    DocumentWindow *w = startShowing(5, longConversation());
    ASSERT_TRUE(w->isLoading());
    const ByteCells::Byte first = byte(w, 0);
    const ByteCells::Byte last = byte(w, 3000);
    EXPECT_TRUE(find(w, QStringLiteral("7F"), FindBar::Kind::Text).isEmpty()); // not yet
    select(w, first.hexStart, first.hexStart);
    const QString readout = QStringLiteral("DCD● RxD◎ \r\n");
    w->appendText(readout);
    ASSERT_TRUE(QTest::qWaitFor([w] { return !w->isLoading(); }, 20000));

    const qint32 shift = qint32(readout.size()) - 1; // CR LF is one line break
    EXPECT_EQ(byte(w, 0).hexStart, first.hexStart + shift);
    EXPECT_EQ(byte(w, 3000).hexStart, last.hexStart + shift);
    EXPECT_EQ(w->findBar()->findChild<QLabel *>(QStringLiteral("findResult"))->text(), viewtexts::findMatch(1, 1));
    EXPECT_EQ(w->textView()->textCursor().selectionStart(), byte(w, 3000).hexStart);
    EXPECT_EQ(shownFormat(w, byte(w, 3000).hexStart).foreground().color(), ByteHighlighter::j1Color());
}

TEST_F(FindAndColours, SelectingCellsMarksTheOtherColumnAndReportsTheBytes)
{
    DocumentWindow *w = show(3, conversation);
    const auto statusLine = [w] { return w->findChild<QLabel *>(QStringLiteral("byteStatus")); };
    select(w, byte(w, 0).hexStart, byte(w, 1).hexEnd);
    ASSERT_TRUE(QTest::qWaitFor([&] { return statusLine() && statusLine()->isVisible(); }, 2000));
    EXPECT_EQ(statusLine()->text(), viewtexts::selectedBytes(0, 1, viewtexts::directionJ1()));
    EXPECT_EQ(shownFormat(w, byte(w, 1).charStart).background().color(), ByteHighlighter::linkedBackground());
    EXPECT_FALSE(w->highlighter()->isMarked(2, ByteHighlighter::Linked));

    select(w, byte(w, 2).charStart, byte(w, 4).charEnd); // characters over both sides
    ASSERT_TRUE(QTest::qWaitFor([w] { return w->highlighter()->isMarked(4, ByteHighlighter::Linked); }, 2000));
    EXPECT_EQ(statusLine()->text(), viewtexts::selectedBytes(2, 4, viewtexts::directionBoth()));
    EXPECT_EQ(shownFormat(w, byte(w, 3).hexStart).background().color(), ByteHighlighter::linkedBackground());

    select(w, 0, 1); // the header: no bytes
    ASSERT_TRUE(QTest::qWaitFor([&] { return statusLine()->isHidden(); }, 2000));
}

TEST_F(FindAndColours, InsertedTextMovesTheCellsAfterItAndClosingWithTheBarOpenIsSafe)
{
    DocumentWindow *w = show(3, conversation);
    windows.setDirectionColors(true);
    // A signal readout pasted at the start of J2's line; how the cells move
    // is ByteCells.AnEditMovesTheCellsAfterIt…, that the colours go with them is here.
    select(w, byte(w, 4).hexStart, byte(w, 4).hexStart);
    w->appendText(QStringLiteral("DCD● RxD◎ \r\n"));
    EXPECT_EQ(shownFormat(w, byte(w, 4).hexStart).foreground().color(), ByteHighlighter::j2Color());
    // Both J1's and J2's "AB" are still bytes; the one after the caret comes first.
    EXPECT_EQ(find(w, QStringLiteral("41 42"), FindBar::Kind::Bytes), viewtexts::findMatch(2, 2));

    w->parentWidget()->close(); // with the bar open; deleted later, nothing may call into it
    QTest::qWait(10);
    EXPECT_EQ(windows.registry().OpenLogWindowCount(), 0);
}

