#pragma once

#include "data/bytemap.h"

#include <QByteArray>
#include <QColor>
#include <QString>

#include <functional>

namespace ferrox {

// What the program does to a monitor-log window: the capture, the
// post-capture processing and the renderings write their texts here.
// The window owns its text view; the registry hands out plain pointers
// that stay valid until the window is closed.
class LogWindow
{
public:
    virtual ~LogWindow();

    // The window's stored number (1, 2, 3 … in creation order).
    virtual qint32 number() const = 0;

    virtual QString caption() const = 0;
    virtual void setCaption(const QString &caption) = 0;

    // Inserts text at the view's insertion point (the end, unless the
    // user moved the caret). CR LF, and CR CR LF, are line breaks.
    virtual void appendText(const QString &text) = 0;
    // Replaces the view's whole text.
    virtual void replaceText(const QString &text) = 0;

    virtual void setBackground(const QColor &color) = 0;
    // The wrapping width of the text, in twips; 0 wraps at the view's width.
    virtual void setRightMargin(double twips) = 0;

    enum class Format { PlainText, DetectRichText };
    // Replaces the view's text with the file bytes (code page 932; with
    // DetectRichText a "{\rtf" file shows formatted). A big text shows its
    // first screen at once and loads the rest in slices from the event
    // loop, the view taking input meanwhile; shown runs once the whole
    // text is in (never when the window is closed first).
    virtual void loadText(const QByteArray &bytes, Format format, std::function<void()> shown) = 0;
    virtual bool isLoading() const = 0;

    // Loads a rendering as plain text, like loadText, with the byte map
    // the renderer reported beside it. A window that colours, finds and
    // links bytes keeps the map; any other just shows the text.
    virtual void loadRendering(const QByteArray &text, const ByteMap &map, std::function<void()> shown)
    {
        Q_UNUSED(map);
        loadText(text, Format::PlainText, std::move(shown));
    }
};

} // namespace ferrox
