#pragma once

#include <QToolBar>

namespace ferrox {

// The main window's toolbar "tbToolBar". Seven positions: 1 "スタート"
// (start a capture), 2 "ストップ" (stop it), 3 and 4
// separators, 5 "設定" (two-state, pressed: the settings panel is shown),
// 6 a separator, 7 "簡易モニタ" (two-state: the simple monitor). Each
// button is a QAction whose objectName is its key.
class MainToolBar : public QToolBar
{
    Q_OBJECT

public:
    explicit MainToolBar(QWidget *parent = nullptr);

    // The button with this key, or nullptr for an unknown key.
    QAction *button(const QString &key) const;
};

} // namespace ferrox
