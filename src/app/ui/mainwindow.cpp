#include "mainwindow.h"

#include "mainmenu.h"
#include "maintoolbar.h"
#include "settingspanel.h"

#include "app/base/windowplacement.h"
#include "platform/ui/appearance.h"
#include "views/ui/documentwindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>

#include <algorithm>

namespace ferrox {

namespace {

// A hand-edited or damaged stored value must not overflow the pixel
// arithmetic: about 330 inches either way is far beyond any desktop.
constexpr double GeometryLimitTwips = 480000.0;

double limited(float twips)
{
    return std::clamp(static_cast<double>(twips), -GeometryLimitTwips, GeometryLimitTwips);
}

} // namespace

MainWindow::MainWindow(SettingsStore &settingsStore, Dialogs &dialogs, QWidget *parent)
    : QMainWindow(parent), m_settings(settingsStore), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("frmMain"));

    m_menu = buildMainMenu(menuBar());
    m_toolBar = new MainToolBar(this);
    addToolBar(Qt::TopToolBarArea, m_toolBar);

    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setObjectName(QStringLiteral("mdiArea"));
    m_settingsPanel = new SettingsPanel(m_settings, this);
    auto *central = new QWidget(this);
    auto *layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_mdiArea, 1);
    layout->addWidget(m_settingsPanel);
    setCentralWidget(central);

    connectViewCommands();

    // The window's load: commands and the status bar are ready before the
    // stored geometry and settings are applied.
    setDataCommandsEnabled(false);
    buildStatusBar();
    m_toolBar->setStartEnabled(true);
    restoreGeometryTwips(loadMainGeometry(m_settings));
    m_settingsPanel->load();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("sbStatusBar"));
    bar->setSizeGripEnabled(true);
    m_statusPanel = new QLabel(bar);
    m_statusPanel->setObjectName(QStringLiteral("sbStatusBar_Panel1"));
    m_statusPanel->setFrameShape(QFrame::Panel);
    m_statusPanel->setFrameShadow(QFrame::Sunken);
    // Long messages must not widen the window: the panel takes the free
    // width and no more.
    m_statusPanel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_progressBar = new QProgressBar(bar);
    m_progressBar->setObjectName(QStringLiteral("ProgressBar1"));
    m_progressBar->setRange(0, 100);
    m_progressBar->setValue(0);
    m_progressBar->setMaximumWidth(160);
    m_progressBar->hide();
    bar->addWidget(m_statusPanel, 1);
    bar->addWidget(m_progressBar);
}

void MainWindow::connectViewCommands()
{
    connect(m_menu.viewSetting, &QAction::triggered, this, &MainWindow::showSettingsPanel);
    connect(m_toolBar->settings(), &QAction::triggered, this, &MainWindow::showSettingsPanel);
    connect(m_menu.viewToolbar, &QAction::triggered, m_toolBar, &QWidget::setVisible);
    connect(m_menu.viewStatusBar, &QAction::triggered, statusBar(), &QWidget::setVisible);
    connect(m_menu.exit, &QAction::triggered, this, &QWidget::close);
}

void MainWindow::showSettingsPanel(bool shown)
{
    m_settingsPanel->setVisible(shown);
    m_menu.viewSetting->setChecked(shown);
    m_toolBar->settings()->setChecked(shown);
}

void MainWindow::setDataCommandsEnabled(bool enabled)
{
    m_menu.saveDataFile->setEnabled(enabled);
    m_menu.exportData->setEnabled(enabled);
    m_menu.display->setEnabled(enabled);
    for (QAction *item : m_menu.display->actions())
        item->setEnabled(enabled);
    for (int i = 0; i < SettingsPanel::DisplayButtonCount; ++i)
        m_settingsPanel->displayButton(i)->setEnabled(enabled);
}

QString MainWindow::statusText() const
{
    return m_statusPanel->text();
}

void MainWindow::ReportStatus(qint32 panel, const QString &text, qint32 remaining)
{
    ferrox::ReportStatus(*this, panel, text, remaining);
}

void MainWindow::setPanelText(const QString &text)
{
    m_statusPanel->setText(text);
    // A rendering holds the event loop while it reports; the progress bar
    // beside repaints itself at once, so the text must too, or it shows
    // the step before.
    m_statusPanel->repaint();
}

void MainWindow::setProgressVisible(bool visible)
{
    m_progressBar->setVisible(visible);
}

void MainWindow::setProgressValue(int percentDone)
{
    m_progressBar->setValue(percentDone);
}

void MainWindow::restoreGeometryTwips(const TwipsGeometry &geometry)
{
    const QRect wanted(twipsToPixelsX(limited(geometry.left), this), twipsToPixelsY(limited(geometry.top), this),
                       twipsToPixelsX(limited(geometry.width), this), twipsToPixelsY(limited(geometry.height), this));
    QList<QRect> screens; // the primary screen comes first
    for (const QScreen *screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    const QSize atLeast = mainGeometryStored(m_settings) ? minimumSizeHint() : firstRunSize();
    const QRect placed = placeMainWindow(wanted, screens, atLeast);
    move(placed.topLeft());
    resize(placed.size());
}

// Wide enough for the menu bar, and for a new log window beside the
// settings panel; tall enough for the whole panel beneath the bars (the
// panel scrolls rather than grows, so its own size hint falls short of its
// content).
QSize MainWindow::firstRunSize() const
{
    const int logWindow = twipsToPixelsX(DocumentWindow::initialWidthTwips, this);
    const int bars = sizeHint().height() - centralWidget()->sizeHint().height();
    return QSize(std::max(menuBar()->sizeHint().width(), logWindow + m_settingsPanel->minimumWidth()),
                 bars + m_settingsPanel->widget()->sizeHint().height());
}

TwipsGeometry MainWindow::geometryTwips() const
{
    return {static_cast<float>(pixelsToTwipsX(x(), this)), static_cast<float>(pixelsToTwipsY(y(), this)),
            static_cast<float>(pixelsToTwipsX(width(), this)),
            static_cast<float>(pixelsToTwipsY(height(), this))};
}

QMenu *MainWindow::createPopupMenu()
{
    // Hiding a bar any other way would leave the View menu's check mark wrong.
    return nullptr;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Children first, each by its own close handling; a child that would
    // rather stay open is closed with the window all the same.
    m_mdiArea->closeAllSubWindows();
    emit closing();
    if (!isMinimized())
        saveMainGeometry(m_settings, geometryTwips());
    event->accept();
}

} // namespace ferrox
