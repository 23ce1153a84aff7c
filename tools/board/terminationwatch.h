#pragma once

#include <QObject>

namespace ferrox {

// Turns SIGINT, SIGTERM and SIGHUP into a signal of the event loop, so the
// board can clean up (remove its link) instead of dying where it stands.
// One per process.
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
