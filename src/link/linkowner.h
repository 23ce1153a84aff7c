#pragma once

#include "linkscript.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>

#include <deque>
#include <functional>
#include <string_view>

namespace ferrox {

class LinkOwner;
class SerialPort;

// How a request for the link behaves beside the others.
struct LinkRequest
{
    // Requests of one kind: pending(kind) tells whether one holds or waits.
    std::string_view kind;
    // Refused unless the link is free at once and nobody waits.
    bool skippedWhenBusy = false;
    // Refused while a request of its kind holds the link or waits for it.
    bool refusedWhilePending = false;
    // Once its scripts have run, any request that is not skipped when busy
    // may take the link from it; its lease then ends.
    bool yieldsToOthers = false;
    // Written to the board when the program closes while this holds the link.
    QByteArray sentOnShutdown;
};

// The right to use the link, handed to a granted request. A copy refers to
// the same hold; every copy is void once the hold ends (end(), a request
// taking over from one that yields, shutdown).
class LinkLease
{
public:
    LinkLease() = default;

    bool isHeld() const;
    // Only while held.
    SerialPort &port() const;
    // One script at a time; done runs while the lease still holds.
    void runScript(LinkScript script, LinkScriptRunner::Done done) const;
    // The script made ready to be watched (its signals) before start().
    LinkScriptRunner *prepareScript(LinkScript script) const;
    // Cancels the running script: it ends as Cancelled.
    void cancelScript() const;
    // Lets go of the link; the next request runs once the caller's own
    // sequence is over.
    void end() const;

private:
    friend class LinkOwner;
    LinkLease(LinkOwner *owner, quint64 id) : m_owner(owner), m_id(id) {}

    QPointer<LinkOwner> m_owner;
    quint64 m_id = 0;
};

// The one owner of the link port. Exchanges never interleave: a granted
// request holds the link by its lease while it talks to the board, and a
// request that finds the link held waits its turn in order of arrival,
// subject to its LinkRequest.
//
// Callbacks run while their lease still holds the link, so they may finish
// the work on the port; requests they make run after it.
class LinkOwner : public QObject
{
    Q_OBJECT
public:
    using Job = std::function<void(const LinkLease &lease)>;

    explicit LinkOwner(SerialPort &port, QObject *parent = nullptr);
    ~LinkOwner() override;

    // To watch the port (its signals, its name); talking to it takes a lease.
    const SerialPort &port() const { return m_port; }
    bool isFree() const { return m_holderId == 0; }
    // A request of this kind holds the link or waits for it.
    bool pending(std::string_view kind) const;

    // Runs job with its lease now when the link is free for it, else when
    // its turn comes. False, and job never runs, when refused.
    bool request(const LinkRequest &request, Job job);

    // The program closes: requests are dropped; the holder's shutdown bytes
    // go out; the port is closed.
    void shutdown();

private:
    friend class LinkLease;
    struct Pending
    {
        LinkRequest request;
        Job job;
    };

    bool holds(quint64 id) const { return id != 0 && id == m_holderId; }
    bool canRunNow(const LinkRequest &request) const;
    void grant(const LinkRequest &request, const Job &job);
    void end(quint64 id);
    void scheduleDrain();
    void drain();
    LinkScriptRunner *prepare(LinkScript script);

    SerialPort &m_port;
    quint64 m_holderId = 0;
    quint64 m_lastId = 0;
    LinkRequest m_holder;
    std::deque<Pending> m_pending;
    QPointer<LinkScriptRunner> m_runner;
    bool m_drainScheduled = false;
};

} // namespace ferrox
