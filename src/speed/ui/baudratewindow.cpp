#include "baudratewindow.h"

#include "speed/texts.h"

#include "platform/ui/appearance.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace ferrox {

namespace {

constexpr double OffsetRightTwips = 150;
constexpr double OffsetDownTwips = 1500;

QPushButton *makeButton(const QString &caption, const QString &name, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

BaudRateWindow::BaudRateWindow(LinkOwner &owner, MeasurementSurroundings surroundings, QWidget *mainWindow)
    : QDialog(mainWindow), m_surroundings(std::move(surroundings)), m_run(owner)
{
    setObjectName(QStringLiteral("frmBaudRate"));
    setWindowTitle(speedtext::windowCaption());
    setWindowModality(Qt::ApplicationModal);
    setAttribute(Qt::WA_DeleteOnClose);

    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("Label_RateMeasure"));
    m_label->setFrameShape(QFrame::NoFrame);
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_label->setMinimumSize(twipsToPixelsX(5400, this), twipsToPixelsY(1800, this));
    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Picture1"));
    picture->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(48, 48));
    picture->setAlignment(Qt::AlignTop);
    m_start = makeButton(speedtext::startButton(), QStringLiteral("Cmd_Start"), this);
    m_stop = makeButton(speedtext::stopButton(), QStringLiteral("Cmd_Stop"), this);
    m_close = makeButton(speedtext::closeButton(), QStringLiteral("Cmd_Close"), this);

    auto *textRow = new QHBoxLayout;
    textRow->addWidget(picture);
    textRow->addWidget(m_label, 1);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(m_start);
    buttonRow->addWidget(m_stop);
    buttonRow->addWidget(m_close);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(textRow, 1);
    layout->addLayout(buttonRow);

    if (mainWindow) {
        move(mainWindow->frameGeometry().topLeft()
             + QPoint(twipsToPixelsX(OffsetRightTwips, this), twipsToPixelsY(OffsetDownTwips, this)));
    }

    m_stop->setEnabled(false);
    m_samplingWasEnabled = m_surroundings.samplingEnabled();
    m_surroundings.setSamplingEnabled(false);
    if (m_surroundings.captureRunning()) {
        setText(speedtext::blockedByCapture());
        m_start->setEnabled(false);
    } else if (m_surroundings.simpleMonitorOn()) {
        setText(speedtext::blockedBySimpleMonitor());
        m_start->setEnabled(false);
    } else {
        setText(speedtext::instructions());
    }

    connect(m_start, &QPushButton::clicked, this, &BaudRateWindow::startMeasurement);
    connect(m_stop, &QPushButton::clicked, &m_run, &MeasurementRun::stop);
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);
    connect(&m_run, &MeasurementRun::progressed, this, &BaudRateWindow::setText);
    connect(&m_run, &MeasurementRun::finished, this, &BaudRateWindow::measurementFinished);
}

void BaudRateWindow::setText(const QString &text)
{
    m_text = text;
    QString shown = text;
    m_label->setText(shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void BaudRateWindow::startMeasurement()
{
    m_start->setEnabled(false);
    m_close->setEnabled(false);
    m_stop->setEnabled(true);
    m_run.start();
}

void BaudRateWindow::measurementFinished(const MeasurementReport &report)
{
    m_start->setEnabled(true);
    m_close->setEnabled(true);
    m_stop->setEnabled(false);
    if (report.status == MeasurementReport::Status::Measured)
        m_close->setFocus();
    setText(report.text);
}

void BaudRateWindow::keyPressEvent(QKeyEvent *event)
{
    if (m_run.isRunning() && event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}

void BaudRateWindow::done(int result)
{
    // Escape (outside a measurement), the frame's close control and "閉じる"
    // all end here; the first time counts.
    if (!m_closed) {
        m_closed = true;
        m_run.stop();
        m_surroundings.setSamplingEnabled(m_samplingWasEnabled);
    }
    QDialog::done(result);
}

} // namespace ferrox
