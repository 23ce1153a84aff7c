#include "chartpainter.h"

#include <QBuffer>
#include <QPainter>

namespace ferrox {

void paintChart(QPainter &painter, const ResponseChart &chart)
{
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringList {QStringLiteral("IPAGothic"), QStringLiteral("monospace")});
    font.setPixelSize(12);
    painter.setFont(font);
    for (const ChartItem &item : chart.items) {
        const QColor colour = QColor::fromRgb(item.rgb);
        const QRectF &a = item.area;
        switch (item.kind) {
        case ChartItem::Kind::Line:
            painter.setPen(colour);
            painter.drawLine(a.topLeft(), a.bottomRight());
            break;
        case ChartItem::Kind::Rect:
            painter.fillRect(a, colour);
            break;
        case ChartItem::Kind::Dot:
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            painter.drawEllipse(a.topLeft(), a.width(), a.width());
            break;
        case ChartItem::Kind::Text:
            painter.setPen(colour);
            painter.drawText(a.topLeft(), item.text);
            break;
        }
    }
}

QImage chartImage(const ResponseChart &chart)
{
    QImage image(int(chart.width), int(chart.height), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintChart(painter, chart);
    return image;
}

QByteArray chartPng(const ResponseChart &chart)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    chartImage(chart).save(&buffer, "PNG");
    return bytes;
}

QByteArray chartFileBytes(const ResponseChart &chart, const QString &path)
{
    return chartFormatOf(path) == ChartFormat::Svg ? chartSvg(chart) : chartPng(chart);
}

} // namespace ferrox
