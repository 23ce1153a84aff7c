#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QStaticText>
#include <QStringList>
#include <QTimer>

namespace ferrox {

class LiveLines;

// Paints a LiveLines ring on a monospaced grid: the header pinned at the
// top, then only the lines that fit on screen. Changes of the ring are
// painted once per frame, so a frame costs the visible lines whatever the
// ring holds.
//
// At the bottom the view follows the newest line. Scrolled up, it holds
// its top line in place while text arrives and shows at its foot how many
// newer lines wait; scrolling back to the bottom follows again.
// A frame also rides on any repaint of its window that comes first (a
// capture's byte counter, ten times a second): the window then paints and
// is flushed to the screen once for both instead of twice.
//
// A mouse drag selects cells; Ctrl+C copies them as shown, Ctrl+A selects
// everything held. J1's and J2's bytes take the direction colours while
// they are switched on.
class LiveLinesView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    // Ten frames a second: a stream that moves faster is not read while
    // it moves, and the frames are most of what the view costs.
    static constexpr int FrameMs = 100;

    explicit LiveLinesView(LiveLines &lines, QWidget *parent = nullptr);

    void setDirectionColors(bool on, const QColor &j1, const QColor &j2);
    bool directionColors() const { return m_directionColors; }

    // The ring's header as painted: wrapped at the view's width.
    const QStringList &headerLines() const;
    // Lines of the ring that fit below the header, and the first shown.
    int bodyRows() const;
    qsizetype topLine() const;
    // The selected text, as copied.
    QString selectedText() const;
    bool hasSelection() const { return m_selectionStart != m_selectionEnd; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void scheduleFrame();
    void frame();
    // Asks for a paint of what changed since the last one: following the
    // newest line, the rows still shown move up as they are and only the
    // last row shown before (it may have grown) and those below it are
    // painted again; anything else paints the whole viewport.
    void updateChangedRows();
    void repaintWhole();
    void userScrolled(int value);
    // The grid, measured once per font.
    void measureFont();
    int columnWidth() const { return m_columnWidth; }
    int lineHeight() const { return m_lineHeight; }
    int headerRows() const;
    // The absolute cell under a point of the viewport (the cell after the
    // last one of a line when the point lies right of it).
    qint64 cellAt(QPoint point) const;
    // A line's runs of one colour, laid out once: the text's shaping is
    // the dear part of painting, and a line's cells never change.
    struct PaintedRun
    {
        QStaticText text;
        int column = 0;
        int columns = 0;
        QColor pen;
        bool selected = false;
    };
    struct PaintedLine
    {
        qint64 end = 0; // the line's cells are [its first cell, end)
        QList<PaintedRun> runs;
    };
    // Plain text in the view's font, shaped once to be drawn many times.
    QStaticText shaped(const QString &text) const;
    PaintedLine layOutLine(qsizetype line) const;
    void paintLine(QPainter &painter, const PaintedLine &line, int y) const;
    // The laid-out lines are kept for the lines on screen only, and thrown
    // away when colours, selection or font change.
    void restyle();
    void paintWaiting(QPainter &painter, qsizetype waitingLines) const;

    LiveLines &m_lines;
    QTimer m_frame;
    QPointer<QWidget> m_watchedWindow; // whose repaints a frame rides on
    bool m_settingScroll = false; // our own scroll-bar moves are not the user's
    int m_columnWidth = 1; // pixels
    int m_lineHeight = 1;
    bool m_directionColors = false;
    QColor m_j1;
    QColor m_j2;
    mutable QString m_wrappedHeader; // headerLines()' cache and its key
    mutable int m_wrappedWidth = -1;
    mutable QStringList m_headerLines;
    mutable QList<QStaticText> m_headerTexts; // the same lines, shaped once
    QHash<qint64, PaintedLine> m_painted; // by the line's first cell
    QList<qint64> m_shownFirstCells;      // of the rows last painted; empty: paint all
    int m_shownBodyTop = -1;
    qint64 m_selectionAnchor = 0;
    qint64 m_selectionStart = 0; // absolute cells [start, end)
    qint64 m_selectionEnd = 0;
};

} // namespace ferrox
