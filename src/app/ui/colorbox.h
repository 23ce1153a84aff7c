#pragma once

#include <QColor>
#include <QFrame>

namespace ferrox {

// A small coloured box: the link-line lamps, the receive lamp and the
// sampling indicator. It starts in the system's button-face colour.
// Clicking it emits clicked() (the sampling indicator explains itself).
class ColorBox : public QFrame
{
    Q_OBJECT

public:
    explicit ColorBox(const QString &objectName, QSize size, QWidget *parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor &color);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QColor m_color;
};

} // namespace ferrox
