#include "responsechartwidget.h"

#include "chartpainter.h"

#include <QMouseEvent>
#include <QPainter>

namespace ferrox {

ResponseChartWidget::ResponseChartWidget(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ResponseChart"));
    setMinimumSize(int(m_chart.width), int(m_chart.height));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
}

void ResponseChartWidget::setChart(ResponseChart chart)
{
    m_chart = std::move(chart);
    update();
}

double ResponseChartWidget::scale() const
{
    return std::max(1.0, std::min(width() / m_chart.width, height() / m_chart.height));
}

void ResponseChartWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.scale(scale(), scale());
    paintChart(painter, m_chart);
}

void ResponseChartWidget::mousePressEvent(QMouseEvent *event)
{
    const qint32 frame = m_chart.frameAt(event->position() / scale());
    if (frame >= 0)
        emit frameClicked(frame);
}

} // namespace ferrox
