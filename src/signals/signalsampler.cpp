#include "signalsampler.h"

#include "texts.h"

#include "signalsample.h"
#include "platform/statusreport.h"
#include "platform/serialport.h"
#include "session/monitorsession.h"

#include <QPointer>

namespace ferrox {

SignalSampler::SignalSampler(LinkOwner &owner, const MonitorSession &session, StatusPanel &status, QObject *parent)
    : QObject(parent), m_owner(owner), m_session(session), m_status(status)
{
    m_images.fill(LampImage::Grey);
    m_timer.setObjectName(QStringLiteral("Timer1"));
    // A coarse timer may fire up to 5 % early: three samples a second means 333 ms.
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(PeriodMs);
    connect(&m_timer, &QTimer::timeout, this, &SignalSampler::tick);
}

SignalSampler::~SignalSampler() = default;

void SignalSampler::setSamplingEnabled(bool enabled)
{
    if (enabled == m_timer.isActive())
        return;
    if (enabled)
        m_timer.start();
    else
        m_timer.stop();
}

void SignalSampler::tick()
{
    if (m_ticking || m_session.lampsGreyed())
        return;
    m_ticking = true;
    m_indicatorLit = true;
    emit changed();
    // The owner may answer at once (a port that cannot be opened) or after
    // this object is gone (the program closing during the wait).
    const auto answered = [self = QPointer<SignalSampler>(this)](const SampleOutcome &outcome, const LinkLease &lease) {
        if (self)
            self->onSample(outcome.status == SampleOutcome::Status::Sampled, outcome.stateByte, lease);
    };
    const bool started = sampleSignals(m_owner, answered);
    if (!started) {
        m_ticking = false;
        m_indicatorLit = false;
        emit changed();
    }
}

void SignalSampler::onSample(bool answered, std::uint8_t stateByte, const LinkLease &lease)
{
    m_ticking = false;
    m_indicatorLit = false;
    if (answered) {
        const bool shown = !m_session.lampsGreyed();
        for (int i = 0; i < LampCount; ++i) {
            const bool asserted = (stateByte & (1u << i)) == 0;
            if (shown)
                m_images[i] = asserted ? LampImage::Red : LampImage::Black;
            m_tags[i] = asserted ? QStringLiteral("1") : QStringLiteral("0");
        }
        emit changed();
        emit sampled();
        return;
    }
    // The stop path; the sample still holds the link, so the port is ours.
    ReportStatus(m_status, 1, SignalTexts::samplingStopped(), 0);
    emit stoppedOnError();
    if (lease.isHeld())
        lease.port().setReceiveThreshold(0);
    m_timer.stop();
    setAllImages(LampImage::Grey);
    m_tags.fill(QStringLiteral("0"));
    emit changed();
}

void SignalSampler::setAllImages(LampImage image)
{
    m_images.fill(image);
}

void SignalSampler::DisableSignalPanel()
{
    setAllImages(LampImage::Grey);
    m_panelEnabled = false;
    emit changed();
}

void SignalSampler::EnableSignalPanel()
{
    setAllImages(LampImage::Black);
    m_panelEnabled = true;
    emit changed();
}

QString SignalSampler::readoutLine() const
{
    const QStringList names = SignalTexts::names();
    QString line;
    for (int i = 0; i < LampCount; ++i) {
        line += names.at(i);
        line += m_tags.at(i) == QLatin1String("1") ? SignalTexts::activeMark() : SignalTexts::inactiveMark();
        line += u' ';
    }
    return line + QStringLiteral("\r\n");
}

} // namespace ferrox
