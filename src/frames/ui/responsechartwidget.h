#pragma once

#include "frames/responsechart.h"

#include <QWidget>

namespace ferrox {

// The response-time chart in a window, scaled to fit; a click on a dot
// names its frame.
class ResponseChartWidget : public QWidget
{
    Q_OBJECT

public:
    explicit ResponseChartWidget(QWidget *parent = nullptr);
    void setChart(ResponseChart chart);
    const ResponseChart &chart() const { return m_chart; }

signals:
    void frameClicked(qint32 frame);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    double scale() const;

    ResponseChart m_chart;
};

} // namespace ferrox
