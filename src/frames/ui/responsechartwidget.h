#pragma once

#include "frames/responsechart.h"

#include <QWidget>

namespace ferrox {

// The response-time chart in a window, grown to fit but never shrunk below
// its own size, so that its 12-pixel labels stay readable (a window too
// small for it scrolls it); a click on a dot names its frame.
class ResponseChartWidget : public QWidget
{
    Q_OBJECT

public:
    explicit ResponseChartWidget(QWidget *parent = nullptr);
    void setChart(ResponseChart chart);
    const ResponseChart &chart() const { return m_chart; }
    // Chart units to pixels: at least 1.
    double scale() const;

signals:
    void frameClicked(qint32 frame);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    ResponseChart m_chart;
};

} // namespace ferrox
