#pragma once

#include "measurementlink.h"
#include "rateevaluation.h"

#include <QObject>

namespace ferrox {

class LinkOwner;

struct MeasurementReport
{
    enum class Status {
        Measured,  // 50 records evaluated; evaluation holds the result
        Stopped,   // stopped on request before 50 records came
        PortFailed // the link port was not open (nothing was sent) or went away
    };
    Status status = Status::Stopped;
    RateEvaluation evaluation;
    QString text; // what the user is shown: the result, the stop or the port text
};

// One line speed measurement on the link, without windows: CMD_MEASURE,
// the records counted as they arrive, CMD_STOP on every way out (result,
// stop request, the port going away, or this object going away
// mid-measurement). The board gets no time limit: a silent line measures
// until stop() is called.
class MeasurementRun : public QObject
{
    Q_OBJECT
public:
    explicit MeasurementRun(LinkOwner &owner, QObject *parent = nullptr);
    // A measurement still running is stopped; no signal follows.
    ~MeasurementRun() override;

    bool isRunning() const { return m_running; }

    // Starts in the link's turn. progressed() for no records comes at
    // once; finished() may come before start() returns (a closed port).
    void start();
    // The stop request: the board is told to stop; finished(Stopped)
    // follows unless the records were complete already.
    void stop();

signals:
    // The progress text: "測定回数： k/50" with k records received.
    void progressed(const QString &text);
    void finished(const MeasurementReport &report);

private:
    void finish(const MeasurementReport &report);

    LinkOwner &m_owner;
    MeasurementLink m_link;
    bool m_running = false;
    bool m_portLost = false;
};

} // namespace ferrox
