#include "maintoolbar.h"

#include "app/base/texts.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QStyle>

namespace ferrox {

namespace {

// The style's standard icon, looked up when it is first drawn or asked
// about. The lookup searches the desktop's icon theme, a noticeable part of
// the window's start, while the toolbar's layout needs only its icon size:
// the buttons look the same, and the window shows sooner.
class StandardIconEngine : public QIconEngine
{
public:
    StandardIconEngine(QStyle *style, QStyle::StandardPixmap which) : m_style(style), m_which(which) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, 1.0, mode, state);
    }
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return icon().pixmap(size / scale, scale, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }
    QString iconName() override { return icon().name(); }
    // The style has an image of its own for every standard icon.
    bool isNull() override { return m_looked && m_icon.isNull(); }
    QString key() const override { return QStringLiteral("ferrox-standard-icon"); }
    QIconEngine *clone() const override { return new StandardIconEngine(*this); }

private:
    const QIcon &icon()
    {
        if (!m_looked) {
            m_looked = true;
            m_icon = (m_style ? m_style.data() : QApplication::style())->standardIcon(m_which);
        }
        return m_icon;
    }

    QPointer<QStyle> m_style;
    QStyle::StandardPixmap m_which;
    QIcon m_icon;
    bool m_looked = false;
};

QAction *addButton(QToolBar *bar, const QString &key, const QString &caption, const QString &tip,
                   QStyle::StandardPixmap icon)
{
    QAction *action = bar->addAction(QIcon(new StandardIconEngine(bar->style(), icon)), caption);
    action->setObjectName(key);
    if (!tip.isEmpty())
        action->setToolTip(tip);
    return action;
}

} // namespace

MainToolBar::MainToolBar(QWidget *parent) : QToolBar(parent)
{
    using namespace apptext;
    setObjectName(QStringLiteral("tbToolBar"));
    setMovable(false);
    setFloatable(false);
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);

    m_start = addButton(this, StartKey, StartCaption, StartTip, QStyle::SP_MediaPlay);
    m_stop = addButton(this, StopKey, StopCaption, StopTip, QStyle::SP_MediaStop);
    addSeparator();
    addSeparator();
    m_settings = addButton(this, SettingsKey, SettingsKey, {}, QStyle::SP_FileDialogDetailedView);
    m_settings->setCheckable(true);
    m_settings->setChecked(true);
    addSeparator();
    m_simpleMonitor = addButton(this, SimpleMonitorKey, SimpleMonitorKey, {}, QStyle::SP_ComputerIcon);
    m_simpleMonitor->setCheckable(true);
}

void MainToolBar::setStartEnabled(bool enabled)
{
    m_start->setEnabled(enabled);
    m_stop->setEnabled(!enabled);
}

} // namespace ferrox
