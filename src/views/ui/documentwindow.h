#pragma once

#include "views/logwindow.h"

#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QLabel;

namespace ferrox {

class ByteHighlighter;
class FindBar;
class LogSearch;
class LogTextView;
class LogWindowRegistry;

// A monitor-log window (objectName "frmDocument"): a child of the main
// window's MDI area filled by its text view. Closing it is the window's
// unload: the registry counts it out and may cancel the capture.
//
// Beneath the text, on demand: the find bar (Ctrl+F; F3 and Shift+F3 find
// the next and previous; Esc closes it) and, for a rendering shown with
// its byte map, the status line of the selected bytes ("byteStatus"):
// selecting hex cells marks their characters and the other way round.
// The map holds while the text is the rendering's; an edit that moves
// the text drops it.
class DocumentWindow : public QWidget, public LogWindow
{
    Q_OBJECT

public:
    // Width of a new window, in twips.
    static constexpr double initialWidthTwips = 7800;
    // The wrapping width stays this far inside the window's inner width.
    static constexpr double marginInsetTwips = 400;

    DocumentWindow(qint32 number, LogWindowRegistry &registry, QWidget *parent = nullptr);
    ~DocumentWindow() override;

    LogTextView *textView() const { return m_view; }
    // The registry goes before the window: closing and destroying the
    // window no longer report to it.
    void detachFromRegistry() { m_registry = nullptr; }

    // LogWindow
    qint32 number() const override { return m_number; }
    QString caption() const override;
    void setCaption(const QString &caption) override;
    void appendText(const QString &text) override;
    void replaceText(const QString &text) override;
    void setBackground(const QColor &color) override;
    void setRightMargin(double twips) override;
    void loadText(const QByteArray &bytes, Format format, std::function<void()> shown) override;
    bool isLoading() const override;
    void loadRendering(const QByteArray &text, const ByteMap &map, std::function<void()> shown) override;

    // J1's and J2's bytes in their colours, on screen only.
    void setDirectionColors(bool on);

    // Null until first opened.
    FindBar *findBar() const { return m_findBar; }
    ByteHighlighter *highlighter() const { return m_highlighter; }
    // Opens the find bar; findAgain repeats its last search.
    void openFindBar();
    void findAgain(bool backwards);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void setCells(const QByteArray &text, const ByteMap &map);
    void closeFindBar();
    void linkSelection();
    void textChanged(int position, int removed, int added);

    const qint32 m_number;
    LogWindowRegistry *m_registry;
    LogTextView *m_view;
    ByteHighlighter *m_highlighter;
    FindBar *m_findBar = nullptr;   // made on first use
    QLabel *m_byteStatus = nullptr; // made on first use
    std::unique_ptr<LogSearch> m_search;
    QTimer m_linkTimer;
    std::function<void()> m_shown;
    std::optional<bool> m_findWhenLoaded; // a find asked for during a load: backwards?
    bool m_closed = false;
};

} // namespace ferrox
