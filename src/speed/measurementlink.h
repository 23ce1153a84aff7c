#pragma once

#include "link/linkowner.h"

#include <QObject>

#include <functional>

namespace ferrox {

struct MeasurementOutcome
{
    enum class Status { Measured, Stopped };
    Status status = Status::Stopped;
    QByteArray records; // Measured: every byte read, at least 101
};

// The line speed measurement's exchange, in its turn on the link.
class MeasurementLink : public QObject
{
    Q_OBJECT
public:
    explicit MeasurementLink(LinkOwner &owner, QObject *parent = nullptr);

    // progress reports the waiting byte count, done the records or the
    // user's stop. Unlike other exchanges, done runs after the link is let
    // go: the board has been told to stop, and a shutdown from done must
    // not tell it again.
    void start(std::function<void(qint16 waiting)> progress, std::function<void(const MeasurementOutcome &)> done);
    // Stops the running measurement, or the next one when it still waits
    // its turn.
    void stop();

private:
    LinkOwner &m_owner;
    LinkLease m_lease;
    int m_waiting = 0;
    bool m_stopRequested = false;
};

} // namespace ferrox
