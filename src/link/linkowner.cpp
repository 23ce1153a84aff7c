#include "linkowner.h"

#include "platform/serialport.h"

#include <QTimer>

#include <algorithm>

namespace ferrox {

bool LinkLease::isHeld() const
{
    return m_owner && m_owner->holds(m_id);
}

SerialPort &LinkLease::port() const
{
    Q_ASSERT(isHeld());
    return m_owner->m_port;
}

LinkScriptRunner *LinkLease::prepareScript(LinkScript script) const
{
    Q_ASSERT(isHeld());
    return m_owner->prepare(std::move(script));
}

void LinkLease::runScript(LinkScript script, LinkScriptRunner::Done done) const
{
    prepareScript(std::move(script))->start([owner = m_owner, id = m_id, done](const LinkScriptResult &result) {
        done(result);
        // A stream that yields offers the link to whoever waits once its
        // script is done.
        if (owner && owner->holds(id) && owner->m_holder.yieldsToOthers && !owner->m_pending.empty())
            owner->scheduleDrain();
    });
}

void LinkLease::cancelScript() const
{
    if (isHeld() && m_owner->m_runner)
        m_owner->m_runner->cancel();
}

void LinkLease::end() const
{
    if (m_owner)
        m_owner->end(m_id);
}

LinkOwner::LinkOwner(SerialPort &port, QObject *parent) : QObject(parent), m_port(port) {}

LinkOwner::~LinkOwner()
{
    if (m_runner)
        m_runner->abandon();
}

bool LinkOwner::pending(std::string_view kind) const
{
    if (m_holderId != 0 && m_holder.kind == kind)
        return true;
    return std::any_of(m_pending.begin(), m_pending.end(),
                       [&](const Pending &p) { return p.request.kind == kind; });
}

bool LinkOwner::canRunNow(const LinkRequest &request) const
{
    if (m_runner && m_runner->isRunning())
        return false;
    return m_holderId == 0 || (m_holder.yieldsToOthers && !request.skippedWhenBusy);
}

bool LinkOwner::request(const LinkRequest &request, Job job)
{
    if (request.skippedWhenBusy && (!m_pending.empty() || !canRunNow(request)))
        return false;
    if (request.refusedWhilePending && pending(request.kind))
        return false;
    if (m_pending.empty() && canRunNow(request))
        grant(request, job);
    else
        m_pending.push_back({request, std::move(job)});
    return true;
}

void LinkOwner::grant(const LinkRequest &request, const Job &job)
{
    m_holder = request;
    m_holderId = ++m_lastId;
    job(LinkLease(this, m_holderId));
}

void LinkOwner::end(quint64 id)
{
    if (!holds(id))
        return;
    m_holderId = 0;
    m_holder = {};
    // The next request starts once the releasing code has finished its
    // own sequence.
    if (!m_pending.empty())
        scheduleDrain();
}

void LinkOwner::scheduleDrain()
{
    if (std::exchange(m_drainScheduled, true))
        return;
    QTimer::singleShot(0, this, &LinkOwner::drain);
}

void LinkOwner::drain()
{
    m_drainScheduled = false;
    while (!m_pending.empty() && canRunNow(m_pending.front().request)) {
        Pending next = std::move(m_pending.front());
        m_pending.pop_front();
        grant(next.request, next.job);
    }
}

LinkScriptRunner *LinkOwner::prepare(LinkScript script)
{
    if (m_runner)
        m_runner->deleteLater();
    m_runner = new LinkScriptRunner(m_port, std::move(script), this);
    return m_runner;
}

void LinkOwner::shutdown()
{
    m_pending.clear();
    if (m_runner)
        m_runner->abandon();
    if (m_holderId != 0 && !m_holder.sentOnShutdown.isEmpty() && m_port.isOpen())
        m_port.write(m_holder.sentOnShutdown);
    if (m_port.isOpen())
        m_port.close();
    m_holderId = 0;
    m_holder = {};
}

} // namespace ferrox
