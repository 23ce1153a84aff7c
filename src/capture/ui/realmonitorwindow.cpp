#include "realmonitorwindow.h"

#include "capture/livelines.h"
#include "capture/texts.h"
#include "capture/ui/livelinesview.h"

#include "platform/ui/appearance.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QVBoxLayout>

#include <algorithm>

namespace ferrox {

namespace {

constexpr double WidthTwips = 7800;
constexpr double HeightTwips = 1500;
constexpr double BottomGapTwips = 450;

} // namespace

RealMonitorWindow::RealMonitorWindow(LiveLines &lines, QWidget *parent)
    : QWidget(parent), m_view(new LiveLinesView(lines, this))
{
    setObjectName(QStringLiteral("frmRealMonitor"));
    setWindowTitle(CaptureTexts::simpleMonitorCaption());
    m_view->setObjectName(QStringLiteral("RichText_RealMonitor"));
    m_view->setFont(gothicFont(9));
    // The view fills the window.
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    // A new window starts empty.
    lines.clear();
}

QMdiSubWindow *RealMonitorWindow::open(QMdiArea *area, LiveLines &lines)
{
    auto *window = new RealMonitorWindow(lines);
    QMdiSubWindow *child = area->addSubWindow(window);
    child->setAttribute(Qt::WA_DeleteOnClose);
    child->resize(twipsToPixelsX(WidthTwips, area), twipsToPixelsY(HeightTwips, area));
    child->show();
    // The inner height is known once the frame has laid the window out.
    const int top = area->viewport()->height() - window->height() - twipsToPixelsY(BottomGapTwips, area);
    child->move(0, std::max(0, top));
    return child;
}

void RealMonitorWindow::closeEvent(QCloseEvent *event)
{
    emit closed();
    event->accept();
}

} // namespace ferrox
