#include "signalpanel.h"

#include "signals/signalsampler.h"
#include "signals/texts.h"

#include "platform/ui/appearance.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

namespace ferrox {

namespace {

constexpr QSize LampImageSize{20, 15};
constexpr quint32 IndicatorGreen = 0x00FF00;

QString indexed(const char *name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

} // namespace

QPixmap drawLampImage(const QColor &color)
{
    QPixmap image(LampImageSize);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF body = QRectF(QPointF(0, 0), QSizeF(LampImageSize)).adjusted(1.5, 1.5, -1.5, -1.5);
    painter.setPen(QPen(color.darker(180), 1));
    painter.setBrush(color);
    painter.drawRoundedRect(body, 4, 4);
    // A small highlight so that the lamp reads as a lit or unlit LED.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 90));
    painter.drawEllipse(QRectF(body.left() + 3, body.top() + 2, body.width() / 2.5, body.height() / 3));
    return image;
}

SignalPanel::SignalPanel(QWidget *parent) : QGroupBox(parent)
{
    setObjectName(QStringLiteral("Frame_Signal"));

    const std::array<std::pair<const char *, QColor>, 3> references{{
        {"Pic_glay", QColor(160, 160, 160)}, // LampImage::Grey
        {"Pic_blk", QColor(0, 0, 0)},        // LampImage::Black
        {"Pic_red", QColor(255, 0, 0)},      // LampImage::Red
    }};
    for (std::size_t i = 0; i < references.size(); ++i) {
        auto *holder = new QLabel(this);
        holder->setObjectName(QLatin1String(references[i].first));
        holder->setPixmap(drawLampImage(references[i].second));
        holder->hide();
        m_references[i] = holder;
    }

    const QStringList names = SignalTexts::names();
    auto *lamps = new QGridLayout;
    lamps->setHorizontalSpacing(4);
    lamps->setVerticalSpacing(1);
    for (int i = 0; i < LampCount; ++i) {
        m_lamps[i] = new QLabel(this);
        m_lamps[i]->setObjectName(indexed("Pic", i));
        m_lamps[i]->setFixedSize(LampImageSize);
        m_lampLabels[i] = new QLabel(names.at(i), this);
        m_lampLabels[i]->setObjectName(indexed("Label_LED", i));
        lamps->addWidget(m_lamps[i], 0, i, Qt::AlignHCenter);
        lamps->addWidget(m_lampLabels[i], 1, i, Qt::AlignHCenter);
    }

    m_indicator = new QLabel(this);
    m_indicator->setObjectName(QStringLiteral("Label_DBG"));
    m_indicator->setFixedSize(12, 12);
    m_indicator->setFrameShape(QFrame::Box);
    m_indicator->setAutoFillBackground(true);
    m_indicator->installEventFilter(this);
    m_signalLabel = new QLabel(SignalTexts::pasteLabel(), this);
    m_signalLabel->setObjectName(QStringLiteral("Label_Signal"));
    m_readButton = new QPushButton(SignalTexts::readButton(), this);
    m_readButton->setObjectName(QStringLiteral("Command_READ"));
    connect(m_readButton, &QPushButton::clicked, this, &SignalPanel::readRequested);

    auto *readout = new QHBoxLayout;
    readout->addWidget(m_indicator);
    readout->addStretch();
    readout->addWidget(m_signalLabel);
    readout->addWidget(m_readButton);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(lamps);
    layout->addLayout(readout);

    m_flashEnd.setSingleShot(true);
    connect(&m_flashEnd, &QTimer::timeout, this, [this] { showIndicator(m_sampler && m_sampler->indicatorLit()); });
    refresh();
}

void SignalPanel::setSampler(SignalSampler *sampler)
{
    if (m_sampler)
        disconnect(m_sampler, nullptr, this, nullptr);
    m_sampler = sampler;
    if (m_sampler)
        connect(m_sampler, &SignalSampler::changed, this, &SignalPanel::refresh);
    refresh();
}

QLabel *SignalPanel::reference(int image) const
{
    return m_references.at(image);
}

void SignalPanel::refresh()
{
    for (int i = 0; i < LampCount; ++i) {
        const LampImage image = m_sampler ? m_sampler->lampImage(i) : LampImage::Grey;
        m_lamps[i]->setPixmap(reference(static_cast<int>(image))->pixmap());
    }
    const bool lit = m_sampler && m_sampler->indicatorLit();
    if (lit) {
        m_litSince.start();
        m_flashEnd.stop();
        showIndicator(true);
    } else if (!m_flashEnd.isActive()) {
        const qint64 shownFor = m_litSince.isValid() ? m_litSince.elapsed() : MinFlashMs;
        if (shownFor < MinFlashMs)
            m_flashEnd.start(static_cast<int>(MinFlashMs - shownFor));
        else
            showIndicator(false);
    }
    const bool enabled = !m_sampler || m_sampler->panelEnabled();
    for (QLabel *label : m_lampLabels)
        label->setEnabled(enabled);
    m_signalLabel->setEnabled(enabled);
}

void SignalPanel::showIndicator(bool lit)
{
    QPalette palette = m_indicator->palette();
    palette.setColor(QPalette::Window, lit ? colorFromBgr(IndicatorGreen) : buttonFaceColor());
    m_indicator->setPalette(palette);
}

bool SignalPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_indicator && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
        emit indicatorHelpRequested();
    return QGroupBox::eventFilter(watched, event);
}

} // namespace ferrox
