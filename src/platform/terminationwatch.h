#pragma once

#include <QObject>

namespace ferrox {

// Turns SIGINT, SIGTERM and SIGHUP into a signal of the event loop, so a
// command-line program can end in order (stop the board, write its files,
// remove its link) instead of dying where it stands. One per process.
class TerminationWatch : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    // Holds SIGINT, SIGTERM and SIGHUP back until install(): called first
    // thing in main(), before the toolkit starts threads of its own, so a
    // signal that comes while the program starts waits for the watch
    // instead of ending the program where it stands.
    static void holdSignals();
    // Also lets held signals through: one that came meanwhile is then
    // reported by the event loop as any other.
    bool install(QString &error);

signals:
    void terminationRequested();
};

} // namespace ferrox
