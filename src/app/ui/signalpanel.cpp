#include "signalpanel.h"

#include "colorbox.h"
#include "lamp.h"

#include "app/texts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>

namespace ferrox {

namespace {

QLabel *referenceImage(const QString &name, const QColor &color, QWidget *parent)
{
    auto *holder = new QLabel(parent);
    holder->setObjectName(name);
    holder->setPixmap(drawLampImage(color));
    holder->hide();
    return holder;
}

QString indexed(const char *name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

} // namespace

SignalPanel::SignalPanel(QWidget *parent) : QGroupBox(parent)
{
    setObjectName(QStringLiteral("Frame_Signal"));

    m_picRed = referenceImage(QStringLiteral("Pic_red"), QColor(255, 0, 0), this);
    m_picBlk = referenceImage(QStringLiteral("Pic_blk"), QColor(0, 0, 0), this);
    m_picGlay = referenceImage(QStringLiteral("Pic_glay"), QColor(160, 160, 160), this);

    auto *lamps = new QGridLayout;
    lamps->setHorizontalSpacing(4);
    lamps->setVerticalSpacing(1);
    for (int i = 0; i < LampCount; ++i) {
        m_lamps[i] = new Lamp(indexed("Pic", i), this);
        m_lamps[i]->showPictureOf(m_picGlay);
        m_lampLabels[i] = new QLabel(apptext::SignalNames.at(i), this);
        m_lampLabels[i]->setObjectName(indexed("Label_LED", i));
        lamps->addWidget(m_lamps[i], 0, i, Qt::AlignHCenter);
        lamps->addWidget(m_lampLabels[i], 1, i, Qt::AlignHCenter);
    }

    m_indicator = new ColorBox(QStringLiteral("Label_DBG"), QSize(12, 12), this);
    m_signalLabel = new QLabel(apptext::SignalPaste, this);
    m_signalLabel->setObjectName(QStringLiteral("Label_Signal"));
    m_readButton = new QPushButton(apptext::SignalRead, this);
    m_readButton->setObjectName(QStringLiteral("Command_READ"));

    auto *readout = new QHBoxLayout;
    readout->addWidget(m_indicator);
    readout->addStretch();
    readout->addWidget(m_signalLabel);
    readout->addWidget(m_readButton);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(lamps);
    layout->addLayout(readout);
}

void SignalPanel::DisableSignalPanel()
{
    setSampled(m_picGlay, false);
}

void SignalPanel::EnableSignalPanel()
{
    setSampled(m_picBlk, true);
}

void SignalPanel::setSampled(const QLabel *lampPicture, bool enabled)
{
    for (Lamp *lamp : m_lamps)
        lamp->showPictureOf(lampPicture);
    for (QLabel *label : m_lampLabels)
        label->setEnabled(enabled);
    m_signalLabel->setEnabled(enabled);
    m_readButton->setEnabled(enabled);
}

} // namespace ferrox
