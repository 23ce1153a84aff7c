#include "views/ui/logtextview.h"

#include "views/logtext.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTextBlock>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <vector>

using namespace ferrox;

namespace {

// A mode 5 text of `rows` rows numbered from 000000.
QByteArray modeFiveText(int rows)
{
    QByteArray text;
    for (int i = 0; i < rows; ++i)
        text += QByteArray::number(1000000 + i).mid(1) + "\tJ1  ->J2\t65 \t41\r\n";
    return text;
}

class TextView : public testing::Test
{
protected:
    TextView()
    {
        view.resize(520, 300);
        view.show();
    }
    void loadAndWait(const QByteArray &bytes, bool rich)
    {
        QSignalSpy loaded(&view, &LogTextView::textLoaded);
        view.loadBytes(bytes, rich);
        ASSERT_TRUE(!loaded.isEmpty() || loaded.wait(10000));
    }
    LogTextView view;
};

// A big text shows its first screen at once and the rest comes in below
// while the view takes input; that the cells follow is the rendering's
// case (FindAndColours.TextTypedWhileALongRenderingLoads…). Slices loading
// below the screen repaint nothing, but the scroll bar follows them.
TEST_F(TextView, ABigTextShowsItsFirstScreenAtOnceAndTakesTypingWhileTheRestLoads)
{
    QSignalSpy loaded(&view, &LogTextView::textLoaded);
    std::vector<int> whileLoading; // the scroll bar's maximum
    QObject::connect(view.verticalScrollBar(), &QScrollBar::rangeChanged, &view, [&](int, int maximum) {
        if (view.isLoading())
            whileLoading.push_back(maximum);
    });
    view.loadBytes(modeFiveText(20000), false);
    ASSERT_TRUE(view.isLoading());
    EXPECT_TRUE(view.isVisible());
    EXPECT_EQ(view.cursorForPosition(QPoint(5, 5)).block().text(), QStringLiteral("000000\tJ1  ->J2\t65 \t41"));
    EXPECT_GT(view.document()->blockCount(), view.viewport()->height() / view.fontMetrics().lineSpacing());
    QTest::keyClicks(&view, QStringLiteral("X")); // at the caret, the top
    ASSERT_TRUE(loaded.wait(20000));
    const QString text = view.plainText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("X000000\t"))) << qPrintable(text.left(20));
    EXPECT_TRUE(text.endsWith(QStringLiteral("\n019999\tJ1  ->J2\t65 \t41\n")));
    EXPECT_EQ(view.document()->blockCount(), 20001);
    EXPECT_FALSE(view.centerOnScroll()); // the last line scrolls no higher than the bottom again
    ASSERT_FALSE(whileLoading.empty());
    EXPECT_EQ(whileLoading.back(), 20000); // a line a step, the last up to the middle
}

// Whatever takes the whole text takes all of it, loaded or still coming.
TEST_F(TextView, CommandsOnTheWholeTextFinishALoadFirst)
{
    const QByteArray bytes = modeFiveText(20000);
    const std::pair<const char *, std::function<QString()>> commands[] = {
        {"plain text", [&] { return view.plainText(); }},
        {"printout", [&] { return view.printedDocument(false, nullptr)->toPlainText(); }},
        {"select all", [&] {
             QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
             return view.textCursor().selection().toPlainText();
         }}};
    for (const auto &[name, command] : commands) {
        SCOPED_TRACE(name);
        QSignalSpy loaded(&view, &LogTextView::textLoaded);
        view.loadBytes(bytes, false);
        ASSERT_TRUE(view.isLoading());
        EXPECT_EQ(command(), decodeLogText(bytes));
        EXPECT_FALSE(view.isLoading());
        EXPECT_EQ(loaded.size(), 1);
    }
}

TEST_F(TextView, ANewLoadOrANewTextEndsALoadStillRunning)
{
    const std::function<void()> replacements[] = {[&] { view.loadBytes("second", false); },
                                                   [&] { view.replaceAll(QStringLiteral("second")); }};
    for (const auto &replace : replacements) {
        QSignalSpy loaded(&view, &LogTextView::textLoaded);
        view.loadBytes(modeFiveText(20000), false);
        ASSERT_TRUE(view.isLoading());
        replace();
        EXPECT_EQ(loaded.size(), 1);
        EXPECT_FALSE(view.isLoading());
        EXPECT_EQ(view.plainText(), QStringLiteral("second"));
        EXPECT_FALSE(loaded.wait(200)); // the first load does not come back
    }
}

// Appending at the caret with its line break: FindAndColours.InsertedText…
TEST_F(TextView, AppendReplacesTheSelection)
{
    view.replaceAll(QStringLiteral("モニター開始"));
    QTextCursor cursor(view.document());
    cursor.setPosition(4, QTextCursor::KeepAnchor);
    view.setTextCursor(cursor);
    view.appendAtCaret(QStringLiteral("X"));
    EXPECT_EQ(view.plainText(), QStringLiteral("X開始"));
}

TEST_F(TextView, RichTextShowsFormattedOnlyWhenAskedFor)
{
    loadAndWait("{\\rtf1 plain {\\b bold}\\par x}", true);
    EXPECT_EQ(view.plainText(), QStringLiteral("plain bold\nx"));
    EXPECT_EQ(view.textCursor().position(), 0);
    loadAndWait("{\\rtf1 x}", false);
    EXPECT_EQ(view.plainText(), QStringLiteral("{\\rtf1 x}"));
}

TEST_F(TextView, RightMarginIsTheWrappingWidth)
{
    view.replaceAll(QString(80, QLatin1Char('x')));
    const auto lines = [&] {
        view.viewport()->repaint();
        return view.document()->firstBlock().layout()->lineCount();
    };
    EXPECT_EQ(lines(), 1);
    view.setRightMargin(1440); // one inch: about 16 columns of 9-point text
    EXPECT_GT(lines(), 4);
    view.setRightMargin(7300); // room for 80 columns
    // The strip right of the wrapping width shows the text's background.
    view.setBackgroundColor(QColor(0xC0, 0xFF, 0xC0));
    const QImage shown = view.grab().toImage();
    EXPECT_EQ(shown.pixelColor(shown.width() - 5, shown.height() / 2), QColor(0xC0, 0xFF, 0xC0));
    view.setRightMargin(0); // back to the view's own width
    view.resize(200, 300);
    EXPECT_GT(lines(), 1);
}

} // namespace
