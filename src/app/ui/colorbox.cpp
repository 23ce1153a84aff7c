#include "colorbox.h"

#include "platform/ui/appearance.h"

#include <QMouseEvent>

namespace ferrox {

ColorBox::ColorBox(const QString &objectName, QSize size, QWidget *parent) : QFrame(parent)
{
    setObjectName(objectName);
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Plain);
    setFixedSize(size);
    setAutoFillBackground(true);
    setColor(buttonFaceColor());
}

void ColorBox::setColor(const QColor &color)
{
    m_color = color;
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, color);
    setPalette(palette);
}

void ColorBox::mouseReleaseEvent(QMouseEvent *event)
{
    QFrame::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

} // namespace ferrox
