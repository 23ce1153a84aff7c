// The floor of a window's start: a bare Qt Widgets main window with a menu
// bar, shown at once. ferrox_window_map_timer measures both it and ferrox.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    for (const char *title : {"File", "Edit", "View", "Help"})
        window.menuBar()->addMenu(QString::fromLatin1(title))->addAction(QStringLiteral("Item"));
    window.show();
    return app.exec();
}
