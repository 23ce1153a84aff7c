#pragma once

#include <QWidget>

class QMdiArea;
class QMdiSubWindow;
class QPlainTextEdit;

namespace ferrox {

class LiveTextAppender;

// The simple monitor's window "frmRealMonitor", captioned
// "簡易モニターウインドウ": one read-only text view "RichText_RealMonitor"
// in the 9-point gothic font that shows what the appender hands over,
// always at the end of the text, whatever the user has selected. A new
// window starts empty: what the appender had queued for an earlier one is
// dropped.
// Closing it with its close box emits closed() (the monitor goes off).
class RealMonitorWindow : public QWidget
{
    Q_OBJECT
public:
    explicit RealMonitorWindow(LiveTextAppender &appender, QWidget *parent = nullptr);

    QPlainTextEdit *textView() const { return m_text; }

    // Opens the window as a child of area, placed as it loads: 7800 × 1500
    // twips, left edge 0, bottom 450 twips above the area's bottom.
    static QMdiSubWindow *open(QMdiArea *area, LiveTextAppender &appender);

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showBatch(const QString &text, qsizetype dropLeading);

    QPlainTextEdit *m_text;
};

} // namespace ferrox
