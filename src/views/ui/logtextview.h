#pragma once

#include "views/logtextdecoder.h"
#include "views/rtfreader.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTimer>

#include <memory>
#include <utility>

class QPagedPaintDevice;

namespace ferrox {

class ByteCells;

// The text view of a monitor-log window (objectName "rtfText"): code
// page 932 text in the fixed-pitch "ＭＳ ゴシック" 9-point font, with a
// background colour, a fixed wrapping width and printing.
//
// Big texts (a full capture's rendering is several MB, 131,072 lines)
// load in slices from the event loop: the first screen at once, then
// slices of about 8 ms each, so the view is shown and takes input
// (scrolling, selecting, typing) while the rest comes in below what is
// loaded. A file's bytes are decoded beside the load, on a worker thread
// (LogTextDecoder). The document's own layout lays out only the lines it
// paints, and a slice that appends below the screen repaints nothing but
// the scroll bar, so a slice costs what it inserts. What needs the whole
// text (plainText(), printing, selecting all, the context menu) finishes
// the load at once first; textLoaded() follows the last slice.
class LogTextView : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit LogTextView(QWidget *parent = nullptr);

    // Inserts at the insertion point, replacing any selection. CR LF,
    // CR CR LF and lone CRs are line breaks.
    void appendAtCaret(const QString &text);
    // Selects a match a find reached. Such a selection is the find's mark,
    // not the user's: hasUserSelection() is false until the user selects.
    void selectFound(const QTextCursor &match);
    // A selection the user made (not one a find left).
    bool hasUserSelection() const;
    // Replaces everything at once (small texts).
    void replaceAll(const QString &text);

    // Replaces the text with a file's bytes: plain code page 932 text,
    // or formatted when it starts with "{\rtf" and richText is true.
    void loadBytes(const QByteArray &bytes, bool richText);
    void loadStyledText(StyledText text);
    bool isLoading() const { return m_loading; }
    // Inserts what is still coming now, without returning to the event loop.
    void finishLoading();
    // True while the load itself changes the text: a change seen then is
    // no edit of the user's or of the program's.
    bool isLoadChange() const { return m_loadChanging; }

    void setBackgroundColor(const QColor &color);

    // Wrapping width of the text in twips, measured from the text's left
    // edge; 0 wraps at the view's width. A width beyond the view's own
    // wraps at the view's width.
    void setRightMargin(double twips);
    double rightMargin() const { return m_rightMarginTwips; }

    // The whole text as plain characters, '\n' between lines (a load
    // still running is finished first).
    QString plainText();

    // Line numbers from a page above the screen's first line to a page
    // below its last: the lines a scroll may show next.
    std::pair<int, int> blocksNearScreen() const;

    // The text a print takes: the selection, or all the text when
    // selectionOnly is false; with the bytes of `colours` (the cells of
    // this view's text) in their direction colours when given.
    // A load still running is finished first.
    std::unique_ptr<QTextDocument> printedDocument(bool selectionOnly, const ByteCells *colours);
    void printText(QPagedPaintDevice *printer, bool selectionOnly, const ByteCells *colours = nullptr);

signals:
    void textLoaded();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void startLoad(StyledText text);
    // Adds text from the decoder to the pending text.
    void appendPending(QString decoded);
    // Inserts about `budget` characters of the pending text; true while
    // more is pending.
    bool insertPending(qsizetype budget);
    bool insertSlice(qsizetype budget);
    void loadSlice();
    // After an insertion: the next slice, a wait for the decoder, or the end.
    void continueLoad(bool more);
    // Lines of the view's height (wrapped lines count one each).
    int screenLines() const;
    void endLoad();
    void setLoading(bool loading);
    void applyWrapWidth();

    // The selection a find made, as anchor and position; -1 for none.
    int m_foundAnchor = -1;
    int m_foundPosition = -1;
    double m_rightMarginTwips = 0;
    int m_viewportRightMargin = 0;

    QTimer m_loadTimer;
    bool m_loading = false;
    bool m_loadChanging = false;
    bool m_centredBeforeLoad = false;
    StyledText m_pending;
    qsizetype m_runIndex = 0;
    qsizetype m_offset = 0;
    qsizetype m_sliceChars = 0; // characters the next slice inserts
    QTextCursor m_loadCursor;
    LogTextDecoder m_decoder;
};

} // namespace ferrox
