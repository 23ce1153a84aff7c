#include "appearance.h"

#include <QApplication>
#include <QPalette>
#include <QScreen>
#include <QWidget>

namespace ferrox {

QColor colorFromBgr(quint32 bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

QColor windowBackgroundColor()
{
    return QApplication::palette().color(QPalette::Base);
}

QColor buttonFaceColor()
{
    return QApplication::palette().color(QPalette::Button);
}

namespace {

QScreen *screenOf(const QWidget *widget)
{
    if (widget && widget->screen())
        return widget->screen();
    return QGuiApplication::primaryScreen();
}

double dpiX(const QWidget *widget)
{
    QScreen *screen = screenOf(widget);
    return screen ? screen->logicalDotsPerInchX() : 96.0;
}

double dpiY(const QWidget *widget)
{
    QScreen *screen = screenOf(widget);
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}

} // namespace

int twipsToPixelsX(double twips, const QWidget *widget)
{
    return qRound(twips * dpiX(widget) / 1440.0);
}

int twipsToPixelsY(double twips, const QWidget *widget)
{
    return qRound(twips * dpiY(widget) / 1440.0);
}

double pixelsToTwipsX(int pixels, const QWidget *widget)
{
    return pixels * 1440.0 / dpiX(widget);
}

double pixelsToTwipsY(int pixels, const QWidget *widget)
{
    return pixels * 1440.0 / dpiY(widget);
}

QFont gothicFont(int pointSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                      QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP"),
                      QStringLiteral("monospace")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(pointSize);
    return font;
}

} // namespace ferrox
