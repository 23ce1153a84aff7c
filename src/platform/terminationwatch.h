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
    bool install(QString &error);

signals:
    void terminationRequested();
};

} // namespace ferrox
