#include "lamp.h"

#include <QPainter>

namespace ferrox {

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

Lamp::Lamp(const QString &objectName, QWidget *parent) : QLabel(parent)
{
    setObjectName(objectName);
    setFixedSize(LampImageSize);
}

void Lamp::showPictureOf(const QLabel *reference)
{
    setPixmap(reference->pixmap());
}

} // namespace ferrox
