// Reading a rendering in its window: finding text and bytes, direction
// colours on screen only, hex and character cells linked by selection.
#include "data/renderer.h"
#include "views/texts.h"
#include "views/ui/bytehighlighter.h"
#include "views/ui/directioncolorsswitch.h"
#include "views/ui/documentwindow.h"
#include "views/ui/findbar.h"
#include "views/ui/logtextview.h"
#include "views/ui/logwindowarea.h"

#include "viewfakes.h"

#include <QAction>
#include <QComboBox>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <cmath>

using namespace ferrox;
using namespace ferrox::test;

namespace {

QByteArray turns(std::initializer_list<std::pair<int, QByteArrayView>> list)
{
    QByteArray out;
    for (const auto &[high, bytes] : list) {
        for (const char c : bytes) {
            out.append(char(high | (std::uint8_t(c) >> 4)));
            out.append(char((high + 0x10) | (std::uint8_t(c) & 0x0F)));
        }
    }
    return out;
}

// J1 sends "AB" then STX, J2 answers "AB", and after the end code "C".
const QByteArray conversation = turns({{0xA0, "AB\x02"}, {0x80, "AB"}}) + char(0xFF) + turns({{0x80, "C"}});

class FindAndColours : public testing::Test
{
protected:
    FindAndColours()
    {
        area.resize(900, 600);
        area.show();
        area.activateWindow(); // shortcuts need an active window
        EXPECT_TRUE(QTest::qWaitForWindowActive(&area));
    }

    DocumentWindow *show(qint32 mode, const QByteArray &stream)
    {
        auto *w = dynamic_cast<DocumentWindow *>(windows.registry().NewLogWindow());
        const RenderResult r = *renderMonitorData(mode, CaptureBuffer::fromStream(stream), {}, {},
                                                  ByteMapRequest::Wanted);
        w->loadRendering(r.text, r.byteMap, nullptr);
        EXPECT_TRUE(QTest::qWaitFor([w] { return !w->isLoading(); }, 20000));
        return w;
    }
    DocumentWindow *showFile(const QByteArray &bytes)
    {
        auto *w = dynamic_cast<DocumentWindow *>(windows.registry().NewLogWindow());
        w->loadText(bytes, LogWindow::Format::DetectRichText, nullptr);
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

    // The on-screen format at a position: what the layout draws, not what
    // the document holds.
    static QTextCharFormat shownFormat(DocumentWindow *w, qint32 position)
    {
        const QTextBlock block = w->textView()->document()->findBlock(position);
        const int at = position - block.position();
        for (const QTextLayout::FormatRange &range : block.layout()->formats()) {
            if (at >= range.start && at < range.start + range.length)
                return range.format;
        }
        return {};
    }
    static const ByteCells::Byte &byte(DocumentWindow *w, qint32 i) { return w->highlighter()->cells().bytes()[size_t(i)]; }

    QMdiArea area;
    RecordingStatus status;
    LogWindowArea windows{area, status};
};

} // namespace

TEST_F(FindAndColours, TextFindsWithCaseChoiceWrapsAndCounts)
{
    DocumentWindow *w = showFile("Hello hello\r\nHELLO world\r\n");
    QTest::keyClick(w->textView(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(w->findBar()->isVisible());
    EXPECT_FALSE(w->findBar()->findChild<QComboBox *>(QStringLiteral("findKind"))->model()->index(1, 0).flags()
                 & Qt::ItemIsEnabled); // a file's window finds text only

    EXPECT_EQ(find(w, QStringLiteral("hello"), FindBar::Kind::Text), viewtexts::findMatch(1, 3));
    EXPECT_EQ(selected(w), QStringLiteral("Hello"));
    QTest::keyClick(w->textView(), Qt::Key_F3);
    QTest::keyClick(w->textView(), Qt::Key_F3);
    EXPECT_EQ(selected(w), QStringLiteral("HELLO"));
    QTest::keyClick(w->textView(), Qt::Key_F3);
    EXPECT_EQ(w->findBar()->findChild<QLabel *>(QStringLiteral("findResult"))->text(),
              viewtexts::findMatch(1, 3) + viewtexts::findWrapped());
    QTest::keyClick(w->textView(), Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(selected(w), QStringLiteral("HELLO"));

    w->findBar()->findChild<QCheckBox *>(QStringLiteral("findCase"))->setChecked(true);
    EXPECT_EQ(find(w, QStringLiteral("HELLO"), FindBar::Kind::Text), viewtexts::findMatch(1, 1) + viewtexts::findWrapped());
    EXPECT_EQ(find(w, QStringLiteral("bye"), FindBar::Kind::Text), viewtexts::findNotFound());
    EXPECT_EQ(find(w, QStringLiteral("  "), FindBar::Kind::Text), viewtexts::findEmpty());

    QTest::keyClick(w->findBar()->findChild<QLineEdit *>(QStringLiteral("findText")), Qt::Key_Escape);
    EXPECT_FALSE(w->findBar()->isVisible());
}

TEST_F(FindAndColours, BytesAreFoundAcrossLinesAndDirectionsAndMarkedInBothColumns)
{
    DocumentWindow *w = show(4, conversation);
    EXPECT_EQ(find(w, QStringLiteral("41 42"), FindBar::Kind::Bytes), viewtexts::findMatch(1, 2));
    EXPECT_EQ(selected(w), QStringLiteral("41 42"));
    for (const qint32 i : {0, 1, 3, 4}) {
        EXPECT_EQ(shownFormat(w, byte(w, i).hexStart).background().color(), ByteHighlighter::matchBackground()) << i;
        EXPECT_EQ(shownFormat(w, byte(w, i).charStart).background().color(), ByteHighlighter::matchBackground()) << i;
    }
    EXPECT_FALSE(w->highlighter()->isMarked(2, ByteHighlighter::Found));

    // J1's last byte and J2's first: another line, the other side.
    EXPECT_EQ(find(w, QStringLiteral("024142"), FindBar::Kind::Bytes), viewtexts::findMatch(1, 1));
    EXPECT_TRUE(w->highlighter()->isMarked(2, ByteHighlighter::Found));
    EXPECT_TRUE(w->highlighter()->isMarked(3, ByteHighlighter::Found));

    // Nothing after the end code belongs to the data.
    EXPECT_EQ(find(w, QStringLiteral("42 43"), FindBar::Kind::Bytes), viewtexts::findNotFound());
    EXPECT_EQ(find(w, QStringLiteral("4 1"), FindBar::Kind::Bytes), viewtexts::findNotHex());
    EXPECT_FALSE(w->highlighter()->isMarked(3, ByteHighlighter::Found));
    EXPECT_EQ(find(w, QString(), FindBar::Kind::Bytes), viewtexts::findEmpty());
}

TEST_F(FindAndColours, DirectionColoursAreOnScreenOnly)
{
    windows.setDirectionColors(true);
    DocumentWindow *w = show(3, conversation);
    const QString text = w->textView()->plainText();
    EXPECT_EQ(shownFormat(w, byte(w, 0).hexStart).foreground().color(), ByteHighlighter::j1Color());
    EXPECT_EQ(shownFormat(w, byte(w, 0).charStart).foreground().color(), ByteHighlighter::j1Color());
    EXPECT_EQ(shownFormat(w, byte(w, 4).hexStart).foreground().color(), ByteHighlighter::j2Color());
    // The document, which saving and printing take, holds no colour.
    QTextCursor at(w->textView()->document());
    at.setPosition(byte(w, 0).hexStart + 1);
    EXPECT_FALSE(at.charFormat().hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_EQ(w->textView()->plainText(), text);

    windows.setDirectionColors(false);
    EXPECT_FALSE(shownFormat(w, byte(w, 0).hexStart).hasProperty(QTextFormat::ForegroundBrush));
}

TEST_F(FindAndColours, ColoursAreReadableAndToldApartWithColourVisionDeficiencies)
{
    const auto luminance = [](const QColor &c) {
        const auto lin = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * lin(c.redF()) + 0.7152 * lin(c.greenF()) + 0.0722 * lin(c.blueF());
    };
    const auto contrast = [&](const QColor &a, const QColor &b) {
        const double la = luminance(a), lb = luminance(b);
        return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
    };
    // Simulated protanopia, deuteranopia, tritanopia (Machado et al. 2009,
    // severity 1), on linear RGB.
    const double deficiencies[3][9] = {
        {0.152286, 1.052583, -0.204868, 0.114503, 0.786281, 0.099216, -0.003882, -0.048116, 1.051998},
        {0.367322, 0.860646, -0.227968, 0.280085, 0.672501, 0.047413, -0.011820, 0.042940, 0.968881},
        {1.255528, -0.076749, -0.178779, -0.078411, 0.930809, 0.147602, 0.004733, 0.691367, 0.303900},
    };
    const auto seen = [](const QColor &c, const double *m) {
        const auto lin = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        const double r = lin(c.redF()), g = lin(c.greenF()), b = lin(c.blueF());
        return std::array<double, 3>{m[0] * r + m[1] * g + m[2] * b, m[3] * r + m[4] * g + m[5] * b,
                                     m[6] * r + m[7] * g + m[8] * b};
    };
    for (const QColor &background :
         {QColor(Qt::white), ByteHighlighter::matchBackground(), ByteHighlighter::linkedBackground()}) {
        EXPECT_GE(contrast(ByteHighlighter::j1Color(), background), 4.5) << background.name().toStdString();
        EXPECT_GE(contrast(ByteHighlighter::j2Color(), background), 4.5) << background.name().toStdString();
    }
    for (const auto &m : deficiencies) {
        const auto a = seen(ByteHighlighter::j1Color(), m);
        const auto b = seen(ByteHighlighter::j2Color(), m);
        EXPECT_GT(std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]), 0.15);
    }
}

TEST_F(FindAndColours, SelectingCellsMarksTheOtherColumnAndReportsTheBytes)
{
    DocumentWindow *w = show(3, conversation);
    const auto statusLine = [w] { return w->findChild<QLabel *>(QStringLiteral("byteStatus")); };
    const auto select = [w](qint32 from, qint32 to) {
        QTextCursor c = w->textView()->textCursor();
        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        w->textView()->setTextCursor(c);
    };
    select(byte(w, 0).hexStart, byte(w, 1).hexEnd);
    ASSERT_TRUE(QTest::qWaitFor([&] { return statusLine() && statusLine()->isVisible(); }, 2000));
    EXPECT_EQ(statusLine()->text(), viewtexts::selectedBytes(0, 1, viewtexts::directionJ1()));
    EXPECT_EQ(shownFormat(w, byte(w, 1).charStart).background().color(), ByteHighlighter::linkedBackground());
    EXPECT_FALSE(w->highlighter()->isMarked(2, ByteHighlighter::Linked));

    select(byte(w, 2).charStart, byte(w, 4).charEnd); // characters over both sides
    ASSERT_TRUE(QTest::qWaitFor([w] { return w->highlighter()->isMarked(4, ByteHighlighter::Linked); }, 2000));
    EXPECT_EQ(statusLine()->text(), viewtexts::selectedBytes(2, 4, viewtexts::directionBoth()));
    EXPECT_EQ(shownFormat(w, byte(w, 3).hexStart).background().color(), ByteHighlighter::linkedBackground());
    EXPECT_FALSE(w->highlighter()->isMarked(0, ByteHighlighter::Linked));

    select(0, 1); // the header: no bytes
    ASSERT_TRUE(QTest::qWaitFor([&] { return statusLine()->isHidden(); }, 2000));
}

TEST_F(FindAndColours, EditsDropTheMapAndClosingWithTheBarOpenIsSafe)
{
    DocumentWindow *w = show(1, conversation);
    w->appendText(QStringLiteral("note\r\n"));
    ASSERT_TRUE(QTest::qWaitFor([w] { return w->highlighter()->cells().isEmpty(); }, 2000));
    EXPECT_EQ(find(w, QStringLiteral("41"), FindBar::Kind::Bytes), viewtexts::findMatch(1, 2)); // as text now

    DocumentWindow *other = show(4, conversation);
    find(other, QStringLiteral("41"), FindBar::Kind::Bytes);
    other->parentWidget()->close();
    QTest::qWait(10); // the window is deleted later; nothing may call into it
    EXPECT_EQ(windows.registry().OpenLogWindowCount(), 1);
}

TEST_F(FindAndColours, ColourSwitchKeepsItsOwnSetting)
{
    MemorySettings store;
    store.SaveSetting(QStringLiteral("ferrox"), QStringLiteral("LogView"), QStringLiteral("DirectionColors"), QStringLiteral("0"));
    QAction toggle;
    connectDirectionColorsSwitch(toggle, store, windows);
    EXPECT_FALSE(toggle.isChecked());
    EXPECT_FALSE(windows.directionColors());
    toggle.trigger();
    EXPECT_TRUE(windows.directionColors());
    EXPECT_EQ(store.values, (QMap<QString, QString>{{QStringLiteral("ferrox/LogView/DirectionColors"), QStringLiteral("1")}}));

    MemorySettings damaged;
    damaged.SaveSetting(QStringLiteral("ferrox"), QStringLiteral("LogView"), QStringLiteral("DirectionColors"), QStringLiteral("x"));
    QAction second;
    connectDirectionColorsSwitch(second, damaged, windows);
    EXPECT_TRUE(second.isChecked());
}
