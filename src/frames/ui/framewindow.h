#pragma once

#include "frametablemodel.h"

#include "views/ui/filechoice.h"

#include "data/arrivaltimes.h"
#include "timeline/captureseries.h"
#include "timeline/monitoredbytes.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace ferrox {

class Dialogs;
class HighlightPanel;
class ProgramSettings;
class ResponseChartWidget;
class StatusPanel;

// The frame view of the log-window family: one row per frame of the
// current data, read by the decoder and cut at the gap chosen in the
// window (both remembered in our own settings group for the next view).
// A header states the gap, the times' resolution and what the framing
// could not do; the filter bar chooses rows by side, verdict, kind (as
// `decode --only` takes them) and a text or byte pattern ("hex:" then
// hexadecimal, an odd last digit a high nibble); find moves to the next
// row whose text or hex matches; what cannot be read or found is said in
// a note line. Highlight rules are listed beside the table, edited and
// removed there, and kept in our own settings group; the chart below
// shows the response times and a click on a dot selects its frame.
//
// Data opened from one file of a split capture's series can be shown as
// its series (showSeriesOf()): a few files at a time (SeriesViewFiles),
// moved a file back or on by two buttons, with a grey row where a link was
// lost (its start and end), files are missing or were left out. The data
// itself stays the one file that was opened.
class FrameWindow : public QWidget
{
    Q_OBJECT

public:
    // decoder: the first decoder, as setDecoder() takes it; empty for the
    // one chosen last, with its gap. The dialogs, settings and status line
    // are the program's, as its other file commands use them.
    FrameWindow(MonitoredBytes bytes, std::optional<ArrivalTimes> times, FramerOptions options, Dialogs &dialogs,
                ProgramSettings &settings, StatusPanel &status, const QString &decoder = QString(),
                QWidget *parent = nullptr);

    FrameTableModel *model() const { return m_model; }
    HighlightPanel *highlights() const { return m_highlights; }
    // The note line's text: an unreadable filter, find or gap, nothing found.
    QString note() const;
    QTableView *table() const { return m_table; }
    ResponseChartWidget *chart() const { return m_chart; }

    // "lines", "modbus-rtu" … as makeDecoder() takes them.
    void setDecoder(const QString &name);
    // The gap in milliseconds as typed; empty for the default.
    void setGap(const QString &millis);
    // Selects the next row after the current one whose frame matches the
    // find text; false (selection kept) when none does.
    bool findNext(const QString &text);
    // The data files the view shows: its saves never replace them, a
    // shown series' files or their arrival times.
    void setShownDataFiles(const QStringList &paths);
    // Shows the series dataPath belongs to, from dataPath on, when it is
    // one file of several; false (the view unchanged) otherwise.
    bool showSeriesOf(const QString &dataPath);
    // Moves the series' window by `files` (negative: back); false when it
    // shows no series or cannot move.
    bool moveSeries(qsizetype files);
    void selectFrame(qint32 frame);
    // Asks for a file and writes the shown frames: CSV for ".csv", JSON
    // lines for ".jsonl", text otherwise. False when cancelled, refused
    // (an existing file the user keeps, the shown data) or failed (the
    // failure said in a message box).
    bool saveShownFrames();
    // Asks for a file and saves the chart there, as PNG or as SVG by the
    // name's ending (".png" added when it has neither), as saveShownFrames().
    bool saveChart();
    // Adds a highlight rule for the filter bar's pattern and stores the
    // rules; a pattern that has one already keeps it.
    void highlightPattern(const QColor &colour);

private:
    void rebuild();
    // The gap field into the framer's options; false (said in the note)
    // when it holds no time.
    bool takeGap();
    void applyFilter();
    void rememberChoice();
    void setNote(const QString &text);

    void showSeriesWindow();

    MonitoredBytes m_bytes;
    std::optional<ArrivalTimes> m_times;
    std::optional<SeriesFiles> m_series; // shown instead of m_bytes when set
    qsizetype m_seriesFirst = 0;         // the first file of its window
    FramerOptions m_options;
    // Writes bytes to a path the user agreed to, remembering its folder.
    bool writeChosen(const QString &path, const QByteArray &bytes);

    Dialogs &m_dialogs;
    ProgramSettings &m_settings;
    FileChoice m_files;
    QStringList m_shown; // as setShownDataFiles() was given them
    QStringList m_kept;  // the shown data files, a shown series' files, and their arrival times
    FrameTableModel *m_model;
    QLabel *m_header;
    QComboBox *m_decoder;
    QLineEdit *m_gap;
    QComboBox *m_direction;
    QCheckBox *m_failedOnly;
    QComboBox *m_kind;
    QLineEdit *m_pattern;
    QLineEdit *m_find;
    QLabel *m_note;
    QWidget *m_seriesBar;
    QLabel *m_seriesLabel;
    QPushButton *m_seriesPrevious;
    QPushButton *m_seriesNext;
    HighlightPanel *m_highlights;
    QTableView *m_table;
    ResponseChartWidget *m_chart;
};

} // namespace ferrox
