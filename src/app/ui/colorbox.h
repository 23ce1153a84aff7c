#pragma once

#include <QColor>
#include <QWidget>

namespace ferrox {

// A small coloured lamp: the link-line lamps, the receive lamp and the
// sampling indicator. It starts in the system's button-face colour.
// Clicking it emits clicked() (the sampling indicator explains itself).
class ColorBox : public QWidget
{
    Q_OBJECT

public:
    ColorBox(const QString &objectName, QSize size, QWidget *parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor &color);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QColor m_color;
};

} // namespace ferrox
