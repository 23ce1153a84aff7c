#pragma once

#include "views/logwindow.h"

#include <QWidget>

#include <functional>

namespace ferrox {

class LogTextView;
class LogWindowRegistry;

// A monitor-log window (objectName "frmDocument"): a child of the main
// window's MDI area filled by its text view. Closing it is the window's
// unload: the registry counts it out and may cancel the capture.
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

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    const qint32 m_number;
    LogWindowRegistry *m_registry;
    LogTextView *m_view;
    std::function<void()> m_shown;
    bool m_closed = false;
};

} // namespace ferrox
