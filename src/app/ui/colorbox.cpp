#include "colorbox.h"

#include "platform/ui/appearance.h"

#include <QMouseEvent>
#include <QPainter>

namespace ferrox {

ColorBox::ColorBox(const QString &objectName, QSize size, QWidget *parent)
    : QWidget(parent), m_color(buttonFaceColor())
{
    setObjectName(objectName);
    setFixedSize(size);
}

void ColorBox::setColor(const QColor &color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void ColorBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // A dark rim keeps the lamp apart from check boxes even in button-face colour.
    painter.setPen(QPen(palette().color(QPalette::Dark), 1));
    painter.setBrush(m_color);
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
}

void ColorBox::mouseReleaseEvent(QMouseEvent *event)
{
    QWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

} // namespace ferrox
