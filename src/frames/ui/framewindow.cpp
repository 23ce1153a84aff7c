#include "framewindow.h"

#include "chartpainter.h"
#include "highlightrules.h"
#include "responsechartwidget.h"

#include "data/datafiles.h"
#include "data/sidecar.h"
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
#include <QSignalBlocker>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace ferrox {

FrameWindow::FrameWindow(MonitoredBytes bytes, std::optional<ArrivalTimes> times, FramerOptions options,
                         Dialogs &dialogs, ProgramSettings &settings, StatusPanel &status, const QString &decoder,
                         QWidget *parent)
    : QWidget(parent), m_bytes(std::move(bytes)), m_times(std::move(times)), m_options(options), m_dialogs(dialogs),
      m_settings(settings), m_files(dialogs, settings, status), m_model(new FrameTableModel(this)), m_header(new QLabel(this)),
      m_decoder(new QComboBox(this)), m_direction(new QComboBox(this)),
      m_failedOnly(new QCheckBox(FrameTexts::viewFailedOnly(), this)), m_pattern(new QLineEdit(this)),
      m_find(new QLineEdit(this)), m_table(new QTableView(this)), m_chart(new ResponseChartWidget(this))
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
    m_direction->setObjectName(QStringLiteral("Combo_FrameDirection"));
    // The directions as the settings panel names them: both, J1→J2, J1←J2.
    for (MonitorDirection direction : directionChoices())
        m_direction->addItem(directionText(direction));
    m_failedOnly->setObjectName(QStringLiteral("Check_FrameFailedOnly"));
    m_pattern->setObjectName(QStringLiteral("Text_FramePattern"));
    m_pattern->setPlaceholderText(FrameTexts::viewPatternHint());
    m_find->setObjectName(QStringLiteral("Text_FrameFind"));
    m_find->setPlaceholderText(FrameTexts::viewFindHint());
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

    auto *bar = new QHBoxLayout;
    bar->addWidget(m_decoder);
    bar->addWidget(m_direction);
    bar->addWidget(m_failedOnly);
    bar->addWidget(m_pattern, 1);
    bar->addWidget(highlight);
    bar->addWidget(m_find);
    bar->addWidget(save);
    bar->addWidget(saveChart);
    auto *splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(m_table);
    splitter->addWidget(m_chart);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_header);
    layout->addLayout(bar);
    layout->addWidget(splitter, 1);

    m_model->setHighlightRules(loadHighlightRules(m_settings.store()));
    connect(m_decoder, &QComboBox::currentTextChanged, this, &FrameWindow::setDecoder);
    connect(m_direction, &QComboBox::currentIndexChanged, this, &FrameWindow::applyFilter);
    connect(m_failedOnly, &QCheckBox::toggled, this, &FrameWindow::applyFilter);
    connect(m_pattern, &QLineEdit::textChanged, this, &FrameWindow::applyFilter);
    connect(m_find, &QLineEdit::returnPressed, this, [this] { findNext(m_find->text()); });
    connect(save, &QPushButton::clicked, this, &FrameWindow::saveShownFrames);
    connect(saveChart, &QPushButton::clicked, this, &FrameWindow::saveChart);
    connect(highlight, &QPushButton::clicked, this, [this] { highlightPattern(QColor(0xFF, 0xF0, 0x80)); });
    connect(m_chart, &ResponseChartWidget::frameClicked, this, &FrameWindow::selectFrame);
    setDecoder(decoder);
}

void FrameWindow::setDecoder(const QString &name)
{
    const std::unique_ptr<FrameDecoder> decoder = makeDecoder(name);
    if (!decoder)
        return; // a name still being typed
    if (m_decoder->currentText() != name) {
        const QSignalBlocker quiet(m_decoder);
        m_decoder->setCurrentText(name);
    }
    FrameList frames = buildFrames(m_bytes, m_times, *decoder, m_options);
    QStringList header {FrameTexts::gapSetting(frames.gapMicros)};
    if (frames.resolutionMicros)
        header.last() += QStringLiteral("  ") + FrameTexts::resolution(*frames.resolutionMicros);
    header += frames.notes();
    m_header->setText(header.join(u'\n'));
    m_chart->setChart(layoutResponseChart(responsePointsOf(frames)));
    m_model->setFrames(std::move(frames));
}

FrameFilter FrameWindow::filterOf(const QString &pattern) const
{
    FrameFilter filter;
    if (pattern.startsWith(QLatin1String("hex:")))
        filter.bytes = QByteArray::fromHex(pattern.mid(4).toLatin1());
    else
        filter.text = pattern;
    return filter;
}

void FrameWindow::applyFilter()
{
    FrameFilter filter = filterOf(m_pattern->text());
    if (m_direction->currentIndex() == 1)
        filter.direction = Direction::J1;
    else if (m_direction->currentIndex() == 2)
        filter.direction = Direction::J2;
    filter.failedOnly = m_failedOnly->isChecked();
    m_model->setFilter(filter);
}

bool FrameWindow::findNext(const QString &text)
{
    const FrameFilter wanted = filterOf(text);
    const int rows = m_model->rowCount();
    const int current = m_table->currentIndex().isValid() ? m_table->currentIndex().row() : -1;
    for (int step = 1; step <= rows; ++step) {
        const int row = (current + step) % rows;
        if (wanted.accepts(m_model->frames().frames.at(m_model->frameAtRow(row)))) {
            m_table->selectRow(row);
            return true;
        }
    }
    return false;
}

void FrameWindow::selectFrame(qint32 frame)
{
    int row = m_model->rowOfFrame(frame);
    if (row < 0) {
        // A hidden frame: show everything again rather than not moving.
        m_direction->setCurrentIndex(0);
        m_failedOnly->setChecked(false);
        m_pattern->clear();
        row = m_model->rowOfFrame(frame);
    }
    m_table->selectRow(row);
    m_table->scrollTo(m_model->index(row, 0));
}

void FrameWindow::setShownDataFiles(const QStringList &paths)
{
    m_kept.clear();
    for (const QString &path : paths)
        m_kept << path << sidecarPath(path);
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
    const FrameFilter pattern = filterOf(m_pattern->text());
    if (pattern.bytes.isEmpty() && pattern.text.isEmpty())
        return;
    QList<HighlightRule> rules = loadHighlightRules(m_settings.store());
    rules.append({pattern.bytes, pattern.text, colour});
    saveHighlightRules(m_settings.store(), rules);
    m_model->setHighlightRules(rules);
}

} // namespace ferrox
