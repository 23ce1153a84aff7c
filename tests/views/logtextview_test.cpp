#include "views/logtext.h"
#include "views/ui/logtextview.h"

#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextLayout>

#include <gtest/gtest.h>

using namespace ferrox;

namespace {

QByteArray modeFiveText(int rows)
{
    QByteArray text("Ferrox Line Monitor Version 2.3.21  \r\r\n");
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
    void loadAndWait(const QByteArray &bytes, bool rich = false)
    {
        QSignalSpy loaded(&view, &LogTextView::textLoaded);
        view.loadBytes(bytes, rich);
        if (loaded.isEmpty()) {
            ASSERT_TRUE(loaded.wait(10000));
        }
        ASSERT_EQ(loaded.size(), 1);
    }
    LogTextView view;
};

TEST_F(TextView, IsTheFixedPitchGothicView)
{
    EXPECT_EQ(view.objectName(), QStringLiteral("rtfText"));
    EXPECT_EQ(view.font().pointSize(), 9);
    EXPECT_TRUE(view.font().families().contains(QStringLiteral("ＭＳ ゴシック")));
}

TEST_F(TextView, CrCrLfShowsAsOneLineBreak)
{
    loadAndWait("Ferrox\r\r\n\x83\x82\x83\x6A\r\nend");
    EXPECT_EQ(view.document()->blockCount(), 3);
    EXPECT_EQ(view.plainText(), QStringLiteral("Ferrox\nモニ\nend"));
    EXPECT_TRUE(view.isVisible());
    EXPECT_EQ(view.textCursor().position(), 0);
}

TEST_F(TextView, BigTextsLoadInStepsHiddenUntilDone)
{
    const QByteArray big = modeFiveText(131072);
    QSignalSpy loaded(&view, &LogTextView::textLoaded);
    view.loadBytes(big, false);
    EXPECT_TRUE(view.isLoading());
    EXPECT_FALSE(view.isVisible());
    ASSERT_TRUE(loaded.wait(60000));
    EXPECT_FALSE(view.isLoading());
    EXPECT_TRUE(view.isVisible());
    EXPECT_EQ(view.document()->blockCount(), 131072 + 2);
    EXPECT_EQ(view.document()->findBlockByNumber(131072).text(), QStringLiteral("131071\tJ1  ->J2\t65 \t41"));
}

TEST_F(TextView, ANewLoadReplacesOneStillRunning)
{
    QSignalSpy loaded(&view, &LogTextView::textLoaded);
    view.loadBytes(modeFiveText(20000), false);
    view.loadBytes("second", false);
    EXPECT_EQ(loaded.size(), 1);
    EXPECT_EQ(view.plainText(), QStringLiteral("second"));
    EXPECT_FALSE(loaded.wait(200)); // the first load does not come back
}

TEST_F(TextView, ReplacingTheTextEndsALoadStillRunning)
{
    QSignalSpy loaded(&view, &LogTextView::textLoaded);
    view.loadBytes(modeFiveText(20000), false);
    ASSERT_TRUE(view.isLoading());
    view.replaceAll(QStringLiteral("コミュニケーション失敗。"));
    EXPECT_EQ(loaded.size(), 1);
    EXPECT_TRUE(view.isVisible());
    EXPECT_FALSE(view.isLoading());
    EXPECT_FALSE(loaded.wait(200));
    EXPECT_EQ(view.plainText(), QStringLiteral("コミュニケーション失敗。"));
}

TEST_F(TextView, AppendGoesToTheCaretAndReplacesTheSelection)
{
    view.appendAtCaret(QStringLiteral("モニター開始 ... \r\n"));
    view.appendAtCaret(QStringLiteral("モニター停止。\r\n"));
    EXPECT_EQ(view.plainText(), QStringLiteral("モニター開始 ... \nモニター停止。\n"));
    QTextCursor cursor = view.textCursor();
    cursor.setPosition(0);
    cursor.setPosition(4, QTextCursor::KeepAnchor);
    view.setTextCursor(cursor);
    view.appendAtCaret(QStringLiteral("X"));
    EXPECT_TRUE(view.plainText().startsWith(QStringLiteral("X開始")));
}

TEST_F(TextView, RichTextFilesShowFormatted)
{
    loadAndWait("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}plain {\\b bold}\\par\\cf1 red}", true);
    EXPECT_EQ(view.plainText(), QStringLiteral("plain bold\nred"));
    const QTextBlock first = view.document()->firstBlock();
    bool sawBold = false;
    for (const QTextLayout::FormatRange &range : first.textFormats())
        sawBold |= range.format.fontWeight() == QFont::Bold && first.text().mid(range.start, range.length) == QStringLiteral("bold");
    EXPECT_TRUE(sawBold);
    const QTextBlock second = first.next();
    EXPECT_EQ(second.textFormats().first().format.foreground().color(), QColor(255, 0, 0));
    // Asked for plain text, the same bytes show as they are.
    loadAndWait("{\\rtf1 x}", false);
    EXPECT_EQ(view.plainText(), QStringLiteral("{\\rtf1 x}"));
}

TEST_F(TextView, BackgroundColourIsTheViewsBase)
{
    view.setBackgroundColor(QColor(0xC0, 0xFF, 0xC0));
    EXPECT_EQ(view.backgroundColor(), QColor(0xC0, 0xFF, 0xC0));
    EXPECT_EQ(view.viewport()->palette().color(QPalette::Base), QColor(0xC0, 0xFF, 0xC0));
}

TEST_F(TextView, RightMarginIsTheWrappingWidth)
{
    const QString line(80, QLatin1Char('x'));
    view.replaceAll(line);
    const auto lines = [&] {
        QTextBlock block = view.document()->firstBlock();
        view.viewport()->repaint();
        return block.layout()->lineCount();
    };
    EXPECT_EQ(lines(), 1);
    view.setRightMargin(1440); // one inch: about 16 columns of 9-point text
    EXPECT_GT(lines(), 4);
    EXPECT_LE(view.viewport()->width(), 96 + 2 * 2 + 1);
    view.setRightMargin(7300); // room for 80 columns
    EXPECT_EQ(lines(), 1);
    view.setRightMargin(1440);
    view.setRightMargin(0); // back to the view's own width
    EXPECT_EQ(lines(), 1);
    view.resize(200, 300);
    EXPECT_GT(lines(), 1);
}

TEST_F(TextView, PrintsAllTextOrTheSelectionToPdf)
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    loadAndWait(encodeLogText(QStringLiteral("モニターログ\r\n000000 J1⇒J2 : 41 42\r\n表示終了\r\n")));
    QTemporaryDir dir;
    const auto printed = [&](bool selection) {
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("out.pdf")));
        view.printText(&printer, selection);
        QProcess p;
        p.start(pdftotext, {QStringLiteral("-enc"), QStringLiteral("UTF-8"), dir.filePath(QStringLiteral("out.pdf")), QStringLiteral("-")});
        p.waitForFinished(20000);
        return QString::fromUtf8(p.readAllStandardOutput()).simplified().remove(QLatin1Char(' '));
    };
    EXPECT_EQ(printed(false), view.plainText().simplified().remove(QLatin1Char(' ')));
    QTextCursor cursor = view.textCursor();
    cursor.movePosition(QTextCursor::Start);
    cursor.movePosition(QTextCursor::Down, QTextCursor::MoveAnchor);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    view.setTextCursor(cursor);
    EXPECT_EQ(printed(true), QStringLiteral("000000J1⇒J2:4142"));
}

} // namespace
