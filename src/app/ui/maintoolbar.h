#pragma once

#include <QToolBar>

namespace ferrox {

// The main window's toolbar "tbToolBar". Seven positions: 1 "スタート"
// (start a capture), 2 "ストップ" (stop it), 3 and 4
// separators, 5 "設定" (two-state, pressed: the settings panel is shown),
// 6 a separator, 7 "簡易モニタ" (two-state: the simple monitor). Each
// button is a QAction whose objectName is its key, and has its own
// accessor.
class MainToolBar : public QToolBar
{
    Q_OBJECT

public:
    explicit MainToolBar(QWidget *parent = nullptr);

    QAction *start() const { return m_start; }
    QAction *stop() const { return m_stop; }
    QAction *settings() const { return m_settings; }
    QAction *simpleMonitor() const { return m_simpleMonitor; }

    // Start and stop are never offered together: stop while a capture
    // runs and its stop has not been asked for.
    void setStartEnabled(bool enabled);

private:
    QAction *m_start;
    QAction *m_stop;
    QAction *m_settings;
    QAction *m_simpleMonitor;
};

} // namespace ferrox
