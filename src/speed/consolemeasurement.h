#pragma once

#include "measurementrun.h"

#include "link/exchanges.h"

#include <QObject>

namespace ferrox {

struct ConsoleMeasurementResult
{
    enum class Status {
        LinkFailed, // the check found no usable board, or the port is closed
        NotOffered, // the board's firmware does not measure: nothing was sent
        Measured,   // text holds the result (a rate or the could-not-measure text)
        Stopped     // stopped on request before a result
    };
    Status status = Status::LinkFailed;
    RateEvaluation evaluation;
    QString text; // what to tell the user, LF line ends
};

// A line speed measurement for programs without a window (ferrox-cli):
// the connection check, then, for firmware that offers it, the
// measurement, with CMD_STOP on every way out. One per object.
class ConsoleMeasurement : public QObject
{
    Q_OBJECT
public:
    explicit ConsoleMeasurement(LinkOwner &owner, QObject *parent = nullptr);

    // portName names the port in the check's texts.
    void start(const CheckRequest &request, const QString &portName);
    // Acts like the window's stop button; asked for during the check, no
    // measurement starts.
    void requestStop();

signals:
    // The board measures; progress texts follow on progressed().
    void measuring();
    void progressed(const QString &text);
    void finished(const ConsoleMeasurementResult &result);

private:
    void finish(ConsoleMeasurementResult result);

    LinkOwner &m_owner;
    MeasurementRun m_run;
    bool m_stopRequested = false;
    bool m_finished = false;
};

} // namespace ferrox
