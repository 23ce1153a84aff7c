#include "aboutwindow.h"

#include "about/helpbook.h"
#include "about/texts.h"

#include <QBoxLayout>
#include <QDesktopServices>
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QUrl>

namespace ferrox {

namespace {

// The program's icon: a line with its bits between two connectors.
QPixmap programPicture()
{
    QPixmap picture(48, 48);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0x1f, 0x3a, 0x68));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(1, 1, 46, 46), 8, 8);
    p.setBrush(QColor(0xc0, 0xc8, 0xd8));
    p.drawRect(QRectF(5, 18, 6, 12));
    p.drawRect(QRectF(37, 18, 6, 12));
    QPen wave(QColor(0xff, 0xd0, 0x40), 2.5);
    p.setPen(wave);
    const QPointF points[] = {{11, 30}, {16, 30}, {16, 18}, {22, 18}, {22, 30}, {26, 30},
                              {26, 18}, {32, 18}, {32, 30}, {37, 30}};
    p.drawPolyline(points, int(std::size(points)));
    return picture;
}

QLabel *makeLabel(const QString &name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    return label;
}

} // namespace

AboutWindow::AboutWindow(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(abouttext::windowCaption());
    setWindowModality(Qt::ApplicationModal);
    setAttribute(Qt::WA_DeleteOnClose);

    m_icon = makeLabel(QStringLiteral("picIcon"), this);
    m_icon->setPixmap(programPicture());
    m_icon->setAlignment(Qt::AlignTop);
    m_icon->installEventFilter(this);
    m_title = makeLabel(QStringLiteral("lblTitle"), this);
    QFont titleFont = m_title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    titleFont.setBold(true);
    m_title->setFont(titleFont);
    m_version = makeLabel(QStringLiteral("lblVersion"), this);
    m_description = makeLabel(QStringLiteral("lblDescription"), this);
    m_support = makeLabel(QStringLiteral("lblDisclaimer"), this);
    m_support->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *supportButton = new QPushButton(abouttext::supportButton(), this);
    supportButton->setObjectName(QStringLiteral("Command1"));
    auto *closeButton = new QPushButton(abouttext::closeButton(), this);
    closeButton->setObjectName(QStringLiteral("cmdOK"));
    closeButton->setDefault(true);

    auto *labels = new QVBoxLayout;
    labels->addWidget(m_title);
    labels->addWidget(m_version);
    labels->addSpacing(8);
    labels->addWidget(m_description);
    labels->addStretch();
    auto *top = new QHBoxLayout;
    top->addWidget(m_icon);
    top->addSpacing(12);
    top->addLayout(labels, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(supportButton);
    buttons->addStretch();
    buttons->addWidget(closeButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(m_support);
    layout->addLayout(buttons);

    connect(supportButton, &QPushButton::clicked, this,
            [] { QDesktopServices::openUrl(QUrl::fromLocalFile(supportPage())); });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);
    setTexts(aboutLoadTexts());
}

void AboutWindow::setTexts(const AboutTexts &texts)
{
    m_version->setText(texts.version);
    m_title->setText(texts.title);
    m_description->setText(texts.description);
    m_support->setText(texts.support);
}

bool AboutWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_icon && event->type() == QEvent::MouseButtonDblClick) {
        emit iconDoubleClicked();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

AboutBox::AboutBox(QWidget *mainWindow) : QObject(mainWindow), m_mainWindow(mainWindow) {}

AboutWindow *AboutBox::show()
{
    auto *window = new AboutWindow(m_mainWindow);
    if (!m_closedOnce)
        window->setTexts(aboutStartUpTexts());
    connect(window, &QDialog::finished, this, [this] { m_closedOnce = true; });
    connect(window, &AboutWindow::iconDoubleClicked, this, [this, window] {
        emit editorRevealed();
        window->close();
    });
    window->open();
    return window;
}

} // namespace ferrox
