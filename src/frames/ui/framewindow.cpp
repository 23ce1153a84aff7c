#include "framewindow.h"

#include "chartpainter.h"
#include "highlightpanel.h"
#include "highlightrules.h"
#include "responsechartwidget.h"

#include "data/datafiles.h"
#include "data/sidecar.h"
#include "frames/framecharacters.h"
#include "frames/seriesframes.h"
#include "frames/frameformat.h"
#include "frames/texts.h"
#include "platform/dialogs.h"
#include "platform/settingsstore.h"
#include "settings/settingsschema.h"
#include "views/texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace ferrox {

FrameWindow::FrameWindow(MonitoredBytes bytes, std::optional<ArrivalTimes> times, FramerOptions options,
                         Dialogs &dialogs, ProgramSettings &settings, StatusPanel &status, const QString &decoder,
                         QWidget *parent)
    : QWidget(parent), m_bytes(std::move(bytes)), m_times(std::move(times)), m_options(options), m_dialogs(dialogs),
      m_settings(settings), m_files(dialogs, settings, status), m_model(new FrameTableModel(this)),
      m_header(new QLabel(this)), m_decoder(new QComboBox(this)), m_gap(new QLineEdit(this)),
      m_direction(new QComboBox(this)), m_failedOnly(new QCheckBox(FrameTexts::viewFailedOnly(), this)),
      m_kind(new QComboBox(this)), m_pattern(new QLineEdit(this)), m_find(new QLineEdit(this)),
      m_note(new QLabel(this)), m_seriesBar(new QWidget(this)), m_seriesLabel(new QLabel(m_seriesBar)),
      m_seriesPrevious(new QPushButton(FrameTexts::seriesPrevious(), m_seriesBar)),
      m_seriesNext(new QPushButton(FrameTexts::seriesNext(), m_seriesBar)), m_highlights(new HighlightPanel(settings.store(), this)),
      m_table(new QTableView(this)), m_chart(new ResponseChartWidget(this))
{
    setObjectName(QStringLiteral("FrameWindow"));
    setWindowTitle(FrameTexts::viewTitle());
    m_header->setObjectName(QStringLiteral("Label_FrameHeader"));
    m_header->setWordWrap(true);
    m_decoder->setObjectName(QStringLiteral("Combo_FrameDecoder"));
    const QStringList names = decoderNames();
    for (const QString &name : names)
        m_decoder->addItem(name == QLatin1String("fixed:N") ? QStringLiteral("fixed:8") : name);
    m_decoder->setEditable(true);
    m_gap->setObjectName(QStringLiteral("Text_FrameGap"));
    m_gap->setPlaceholderText(FrameTexts::viewGapHint());
    m_direction->setObjectName(QStringLiteral("Combo_FrameDirection"));
    // The directions as the settings panel names them: both, J1→J2, J1←J2.
    for (MonitorDirection direction : directionChoices())
        m_direction->addItem(directionText(direction));
    m_failedOnly->setObjectName(QStringLiteral("Check_FrameFailedOnly"));
    m_kind->setObjectName(QStringLiteral("Combo_FrameKind"));
    m_kind->setEditable(true); // "slow:MS" takes any time
    m_kind->addItem(FrameTexts::viewAllKinds());
    for (const QString &name : frameFilterNames()) {
        if (name != QLatin1String("j1") && name != QLatin1String("j2")) // the side has its own choice
            m_kind->addItem(name == QLatin1String("slow:MS") ? QStringLiteral("slow:100") : name);
    }
    m_pattern->setObjectName(QStringLiteral("Text_FramePattern"));
    m_pattern->setPlaceholderText(FrameTexts::viewPatternHint());
    m_find->setObjectName(QStringLiteral("Text_FrameFind"));
    m_find->setPlaceholderText(FrameTexts::viewFindHint());
    m_note->setObjectName(QStringLiteral("Label_FrameNote"));
    m_seriesLabel->setObjectName(QStringLiteral("Label_FrameSeries"));
    m_seriesPrevious->setObjectName(QStringLiteral("Cmd_FrameSeriesPrevious"));
    m_seriesNext->setObjectName(QStringLiteral("Cmd_FrameSeriesNext"));
    auto *save = new QPushButton(FrameTexts::viewSave(), this);
    save->setObjectName(QStringLiteral("Cmd_FrameSave"));
    auto *saveChart = new QPushButton(FrameTexts::chartSave(), this);
    saveChart->setObjectName(QStringLiteral("Cmd_ChartSave"));
    auto *highlight = new QPushButton(FrameTexts::viewHighlight(), this);
    highlight->setObjectName(QStringLiteral("Cmd_FrameHighlight"));

    m_table->setObjectName(QStringLiteral("FrameTable"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    m_table->setWordWrap(false);
    m_table->horizontalHeader()->setSortIndicator(FrameTableModel::Time, Qt::AscendingOrder);
    m_table->setSortingEnabled(true);
    // Widths from the font rather than from the rows: a full buffer has
    // tens of thousands of them.
    const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    const int widths[] = {11, 9, 7, 5, 30, 10, 9, 70, 36, 24}; // characters, in column order
    for (int column = 0; column < FrameTableModel::ColumnCount; ++column)
        m_table->setColumnWidth(column, widths[column] * digit);
    m_gap->setMaximumWidth(14 * digit);

    auto *bar = new QHBoxLayout;
    bar->addWidget(m_decoder);
    bar->addWidget(m_gap);
    bar->addWidget(m_direction);
    bar->addWidget(m_failedOnly);
    bar->addWidget(m_kind);
    bar->addWidget(m_pattern, 1);
    bar->addWidget(highlight);
    bar->addWidget(m_find);
    bar->addWidget(save);
    bar->addWidget(saveChart);
    auto *rows = new QSplitter(Qt::Horizontal, this);
    rows->addWidget(m_table);
    rows->addWidget(m_highlights);
    rows->setStretchFactor(0, 5);
    rows->setStretchFactor(1, 1);
    auto *chartArea = new QScrollArea(this);
    chartArea->setWidget(m_chart);
    chartArea->setWidgetResizable(true);
    auto *splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(rows);
    splitter->addWidget(chartArea);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    auto *seriesBar = new QHBoxLayout(m_seriesBar);
    seriesBar->setContentsMargins(0, 0, 0, 0);
    seriesBar->addWidget(m_seriesPrevious);
    seriesBar->addWidget(m_seriesLabel, 1);
    seriesBar->addWidget(m_seriesNext);
    m_seriesBar->hide(); // until a series is shown
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_header);
    layout->addWidget(m_seriesBar);
    layout->addLayout(bar);
    layout->addWidget(m_note);
    layout->addWidget(splitter, 1);

    m_model->setHighlightRules(m_highlights->rules());
    const FrameViewChoice chosen = loadFrameViewChoice(m_settings.store());
    m_gap->setText(decoder.isEmpty() ? chosen.gapMillis : QString());
    takeGap();
    connect(m_decoder, &QComboBox::currentTextChanged, this, &FrameWindow::setDecoder);
    connect(m_gap, &QLineEdit::editingFinished, this, [this] { setGap(m_gap->text()); });
    connect(m_direction, &QComboBox::currentIndexChanged, this, &FrameWindow::applyFilter);
    connect(m_failedOnly, &QCheckBox::toggled, this, &FrameWindow::applyFilter);
    connect(m_kind, &QComboBox::currentTextChanged, this, &FrameWindow::applyFilter);
    connect(m_pattern, &QLineEdit::textChanged, this, &FrameWindow::applyFilter);
    connect(m_find, &QLineEdit::returnPressed, this, [this] { findNext(m_find->text()); });
    connect(save, &QPushButton::clicked, this, &FrameWindow::saveShownFrames);
    connect(m_seriesPrevious, &QPushButton::clicked, this, [this] { moveSeries(-1); });
    connect(m_seriesNext, &QPushButton::clicked, this, [this] { moveSeries(1); });
    connect(saveChart, &QPushButton::clicked, this, &FrameWindow::saveChart);
    connect(highlight, &QPushButton::clicked, this, [this] { highlightPattern(QColor(0xFF, 0xF0, 0x80)); });
    connect(m_highlights, &HighlightPanel::rulesChanged, m_model, &FrameTableModel::setHighlightRules);
    connect(m_highlights, &HighlightPanel::editRefused, this,
            [this](const QString &typed) { setNote(FrameTexts::unreadableRule(typed)); });
    connect(m_chart, &ResponseChartWidget::frameClicked, this, &FrameWindow::selectFrame);
    setDecoder(decoder.isEmpty() ? chosen.decoder : decoder);
    if (!makeDecoder(m_decoder->currentText()))
        setDecoder(QStringLiteral("lines")); // a stored name this program no longer knows
}

QString FrameWindow::note() const
{
    return m_note->text();
}

void FrameWindow::setNote(const QString &text)
{
    m_note->setText(text);
}

void FrameWindow::setDecoder(const QString &name)
{
    if (!makeDecoder(name))
        return; // a name still being typed
    if (m_decoder->currentText() != name) {
        const QSignalBlocker quiet(m_decoder);
        m_decoder->setCurrentText(name);
    }
    rebuild();
    rememberChoice();
}

void FrameWindow::setGap(const QString &millis)
{
    if (m_gap->text() != millis)
        m_gap->setText(millis);
    if (takeGap() && makeDecoder(m_decoder->currentText())) {
        rebuild();
        rememberChoice();
    }
}

bool FrameWindow::takeGap()
{
    const QString millis = m_gap->text().trimmed();
    const std::optional<qint64> micros = microsFromMillis(millis, 60000);
    if (!millis.isEmpty() && !micros) {
        setNote(FrameTexts::unreadableGap(millis));
        return false;
    }
    setNote({});
    m_options.gapMicros = micros;
    return true;
}

void FrameWindow::rebuild()
{
    const std::unique_ptr<FrameDecoder> decoder = makeDecoder(m_decoder->currentText());
    FrameList frames = m_series ? seriesWindowFrames(*m_series, m_seriesFirst, SeriesViewFiles, *decoder, m_options)
                                : buildFrames(m_bytes, m_times, *decoder, m_options);
    QStringList header {FrameTexts::gapSetting(frames.gapMicros)};
    if (frames.resolutionMicros)
        header.last() += QStringLiteral("  ") + FrameTexts::resolution(*frames.resolutionMicros);
    header += frames.notes();
    m_header->setText(header.join(u'\n'));
    m_chart->setChart(layoutResponseChart(responsePointsOf(frames)));
    m_model->setFrames(std::move(frames));
}

void FrameWindow::rememberChoice()
{
    saveFrameViewChoice(m_settings.store(), {m_decoder->currentText(), m_gap->text()});
}

void FrameWindow::applyFilter()
{
    FrameFilter filter;
    QStringList unread;
    if (const std::optional<TypedPattern> pattern = typedPattern(m_pattern->text())) {
        filter.bytes = pattern->bytes;
        filter.text = pattern->text;
    } else {
        unread << FrameTexts::unreadableHex(m_pattern->text());
    }
    if (m_kind->currentText() != FrameTexts::viewAllKinds() && !m_kind->currentText().isEmpty()) {
        if (const std::optional<FrameFilter> kind = frameFilterNamed(m_kind->currentText())) {
            filter.kinds = kind->kinds;
            filter.failedOnly = kind->failedOnly;
            filter.slowerThanMicros = kind->slowerThanMicros;
        } else {
            unread << FrameTexts::unreadableKind(m_kind->currentText());
        }
    }
    if (m_direction->currentIndex() == 1)
        filter.direction = Direction::J1;
    else if (m_direction->currentIndex() == 2)
        filter.direction = Direction::J2;
    filter.failedOnly = filter.failedOnly || m_failedOnly->isChecked();
    setNote(unread.join(QStringLiteral("  ")));
    m_model->setFilter(filter);
}

bool FrameWindow::findNext(const QString &text)
{
    const std::optional<TypedPattern> pattern = typedPattern(text);
    if (!pattern) {
        setNote(FrameTexts::unreadableHex(text));
        return false;
    }
    FrameFilter wanted;
    wanted.bytes = pattern->bytes;
    wanted.text = pattern->text;
    const int rows = m_model->rowCount();
    const int current = m_table->currentIndex().isValid() ? m_table->currentIndex().row() : -1;
    for (int step = 1; step <= rows; ++step) {
        const int row = (current + step) % rows;
        if (m_model->frameAtRow(row) < 0)
            continue; // a break between a series' files
        const Frame &frame = m_model->frames().frames.at(m_model->frameAtRow(row));
        // The hex column as shown: "6B 00" finds what "hex:6B00" does.
        if (wanted.accepts(frame) || (!wanted.text.isEmpty() && frameHex(frame.bytes).contains(wanted.text, Qt::CaseInsensitive))) {
            m_table->selectRow(row);
            setNote({});
            return true;
        }
    }
    setNote(FrameTexts::notFound());
    return false;
}

void FrameWindow::selectFrame(qint32 frame)
{
    int row = m_model->rowOfFrame(frame);
    if (row < 0) {
        // A hidden frame: show everything again rather than not moving.
        m_direction->setCurrentIndex(0);
        m_failedOnly->setChecked(false);
        m_kind->setCurrentIndex(0);
        m_pattern->clear();
        row = m_model->rowOfFrame(frame);
    }
    m_table->selectRow(row);
    m_table->scrollTo(m_model->index(row, 0));
}

void FrameWindow::setShownDataFiles(const QStringList &paths)
{
    m_shown = paths;
    m_kept.clear();
    QStringList data = paths;
    for (qsizetype i = 0; m_series && i < m_series->size(); ++i)
        data << m_series->path(i);
    for (const QString &path : std::as_const(data))
        m_kept << path << sidecarPath(path);
}

bool FrameWindow::showSeriesOf(const QString &dataPath)
{
    std::optional<SeriesFiles> series = seriesBeside(dataPath);
    if (!series)
        return false;
    m_series = std::move(series);
    m_seriesFirst = 0;
    setShownDataFiles(m_shown); // saves keep off every file of the series
    while (m_seriesFirst + 1 < m_series->size() && m_series->path(m_seriesFirst) != dataPath)
        ++m_seriesFirst;
    showSeriesWindow();
    return true;
}

bool FrameWindow::moveSeries(qsizetype files)
{
    if (!m_series)
        return false;
    const qsizetype first = std::clamp<qsizetype>(m_seriesFirst + files, 0, std::max<qsizetype>(m_series->size() - 1, 0));
    if (first == m_seriesFirst)
        return false;
    m_seriesFirst = first;
    showSeriesWindow();
    return true;
}

void FrameWindow::showSeriesWindow()
{
    const qsizetype last = std::min(m_series->size(), m_seriesFirst + SeriesViewFiles) - 1;
    m_seriesLabel->setText(FrameTexts::seriesShown(m_series->path(m_seriesFirst), m_series->path(last), m_series->size()));
    m_seriesPrevious->setEnabled(m_seriesFirst > 0);
    m_seriesNext->setEnabled(m_seriesFirst + 1 < m_series->size());
    m_seriesBar->show();
    rebuild();
}

bool FrameWindow::saveShownFrames()
{
    const std::optional<QString> path = m_files.save(
        {FrameTexts::viewSaveTitle(), FrameTexts::viewSaveFilter(), QStringLiteral("txt"), {}, {}},
        viewtexts::overwriteText(), {}, m_kept);
    if (!path)
        return false;
    const FrameFormat format = path->endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) ? FrameFormat::Csv
        : path->endsWith(QLatin1String(".jsonl"), Qt::CaseInsensitive)                    ? FrameFormat::JsonLines
                                                                                           : FrameFormat::Text;
    return writeChosen(*path, formatFrames(m_model->frames(), format, m_model->filter()));
}

bool FrameWindow::saveChart()
{
    std::optional<QString> path = m_files.chooseSaveName(
        {FrameTexts::chartSaveTitle(), FrameTexts::chartSaveFilter(), QStringLiteral("png"), {}, {}});
    if (!path)
        return false;
    if (!isChartFileName(*path))
        *path += QStringLiteral(".png");
    // Asked about the name it gets, not the one typed.
    if (!m_files.mayWrite(*path, viewtexts::overwriteText(), {}, m_kept))
        return false;
    return writeChosen(*path, chartFileBytes(m_chart->chart(), *path));
}

bool FrameWindow::writeChosen(const QString &path, const QByteArray &bytes)
{
    const FileWriteResult written = writeFileAtomically(path, bytes);
    if (!written.ok) {
        m_dialogs.inform(written.message, MessageIcon::Critical);
        return false;
    }
    m_files.rememberFolder(path);
    return true;
}

void FrameWindow::highlightPattern(const QColor &colour)
{
    if (const std::optional<TypedPattern> pattern = typedPattern(m_pattern->text()))
        m_highlights->add(*pattern, colour);
    else
        setNote(FrameTexts::unreadableHex(m_pattern->text()));
}

} // namespace ferrox
