#include "connectioncheck.h"

#include "linkpanel.h"
#include "platform/dialogs.h"
#include "platform/serialport.h"
#include "platform/statusreport.h"
#include "texts.h"

#include "settings/settingsschema.h"

#include <QTimer>

#include <memory>

namespace ferrox {

LinkPanel::~LinkPanel() = default;

ConnectionCheck::ConnectionCheck(LinkOwner &owner, LinkPanel &panel, Dialogs &dialogs,
                                 ProgramSettings settings, QObject *parent)
    : QObject(parent),
      m_owner(owner),
      m_panel(panel),
      m_dialogs(dialogs),
      m_settings(settings),
      m_blink(panel.statusPanel(), this)
{
}

QString ConnectionCheck::panelPortName() const
{
    return portNameFromText(m_panel.settings().port);
}

void ConnectionCheck::startUp(std::function<void()> done)
{
    m_owner.request(CheckLinkRequest, [this, done](const LinkLease &lease) {
        lease.runScript(startUpOpenScript(panelPortName(), m_panel.settings().linkSpeed),
                        [this, lease, done](const LinkScriptResult &result) {
            // Message boxes wait for the user: never from inside a port signal.
            QTimer::singleShot(0, this, [this, lease, done, result] {
                if (result.status != LinkScriptResult::Status::Completed) {
                    showPortUnusable(result.errorCode);
                    lease.end();
                    if (done)
                        done();
                    return;
                }
                runCheck(Origin::StartUp, lease, [this, done] {
                    if (m_panel.checkResults().LinkFailed)
                        m_dialogs.inform(linktext::noBoardMessage(m_owner.port().portName()),
                                         MessageIcon::Information);
                    if (done)
                        done();
                });
            });
        });
    });
}

bool ConnectionCheck::check(Origin origin, std::function<void()> done)
{
    return m_owner.request(CheckLinkRequest,
                           [this, origin, done](const LinkLease &lease) { runCheck(origin, lease, done); });
}

void ConnectionCheck::choosePort()
{
    m_owner.request(PortChangeLinkRequest, [this](const LinkLease &lease) {
        const QString oldPort = lease.port().portName();
        const QString newPort = panelPortName();
        lease.runScript(portChangeScript(newPort), [this, lease, oldPort, newPort](const LinkScriptResult &result) {
            QTimer::singleShot(0, this, [this, lease, oldPort, newPort, result] {
                if (result.status != LinkScriptResult::Status::Completed) {
                    m_dialogs.inform(linktext::portMissingMessage(newPort) + refusalAdvice(),
                                     MessageIcon::Exclamation, linktext::portTitle());
                    lease.port().setPortName(oldPort);
                    m_panel.setPortText(oldPort);
                    lease.end();
                    return;
                }
                storeText(m_settings, settingkey::port(), m_panel.settings().port);
                runCheck(Origin::PortChoice, lease, {});
            });
        });
    });
}

void ConnectionCheck::runCheck(Origin origin, const LinkLease &lease, std::function<void()> done)
{
    emit checkStarted();
    const CheckRequest request = checkRequestOf(m_panel.settings());

    CheckCallbacks callbacks;
    callbacks.linesSampled = [this](bool cts, bool dsr) { m_panel.showLinkLines(cts, dsr); };
    // Once the board was asked, no earlier verdict stands at the end.
    auto asked = std::make_shared<bool>(false);
    callbacks.querySent = [asked] { *asked = true; };
    callbacks.done = [this, asked, origin, lease, done](const CheckOutcome &outcome) {
        QTimer::singleShot(0, this, [this, outcome, asked, origin, lease, done] {
            evaluate(outcome, *asked, origin, lease, done);
        });
    };
    checkLink(lease, request, callbacks);
}

void ConnectionCheck::evaluate(const CheckOutcome &outcome, bool asked, Origin origin, const LinkLease &lease,
                               std::function<void()> done)
{
    const auto finish = [this, lease, done] {
        lease.end();
        emit checkFinished();
        if (done)
            done();
    };
    const auto failureEnding = [this, finish] {
        ReportNoAnswer([this, finish] {
            setVerdict(true, false);
            finish();
        });
    };

    switch (outcome.status) {
    case CheckOutcome::Status::PortFailed:
        if (origin != Origin::PortChoice)
            showPortUnusable(outcome.errorCode);
        if (asked)
            setVerdict(false, false);
        finish();
        return;
    case CheckOutcome::Status::NoAnswer:
        m_panel.setSamplingEnabled(false);
        failureEnding();
        return;
    case CheckOutcome::Status::ForeignBoard:
        takeReply(outcome.reply);
        m_panel.setSamplingEnabled(false);
        failureEnding();
        return;
    case CheckOutcome::Status::UnsupportedFirmware:
        takeReply(outcome.reply);
        ReportStatus(m_panel.statusPanel(), 1, linktext::firmwareMismatchStatus(), 0);
        m_dialogs.inform(linktext::firmwareMismatchMessage(m_panel.checkResults().FirmwareVersion),
                         MessageIcon::Information);
        m_panel.setSamplingEnabled(false);
        setVerdict(true, false);
        finish();
        return;
    case CheckOutcome::Status::Verified:
        takeReply(outcome.reply);
        ReportLinkOK([this, finish] {
            if (!m_panel.simpleMonitorOn() && !m_panel.monitorBusy())
                m_panel.setSamplingEnabled(true);
            offerFirmwareFeatures();
            setVerdict(false, true);
            finish();
        });
        return;
    }
}

void ConnectionCheck::takeReply(const QByteArray &reply)
{
    CheckResults results = m_panel.checkResults();
    results.BoardReply = boardReplyOf(reply);
    results.FirmwareVersion = firmwareVersionOf(reply);
    m_panel.setCheckResults(results);
}

void ConnectionCheck::setVerdict(bool linkFailed, bool boardVerified)
{
    CheckResults results = m_panel.checkResults();
    results.LinkFailed = linkFailed;
    results.BoardVerified = boardVerified;
    m_panel.setCheckResults(results);
}

void ConnectionCheck::offerFirmwareFeatures()
{
    const std::optional<FirmwareFeatures> features =
        firmwareFeatures(m_panel.checkResults().FirmwareVersion, m_panel.settings().linkSpeed);
    if (!features)
        return;
    m_panel.offerFeatures(*features);
}

void ConnectionCheck::showPortUnusable(int errorCode)
{
    m_dialogs.inform(linktext::portUnusableMessage(panelPortName(), errorCode) + refusalAdvice(),
                     MessageIcon::Exclamation, linktext::portTitle());
}

QString ConnectionCheck::refusalAdvice() const
{
    // The window's own message already says that a port is missing.
    const PortRefusal refusal = m_owner.port().refusal();
    return refusal.kind == PortRefusal::Kind::Missing ? QString() : linktext::portRefusalAdvice(refusal);
}

void ConnectionCheck::ReportNoAnswer(std::function<void()> done)
{
    m_panel.setSamplingEnabled(false);
    m_blink.start([this] { return linktext::noAnswerStatus(m_owner.port().portName()); }, std::move(done));
}

void ConnectionCheck::ReportLinkOK(std::function<void()> done)
{
    m_blink.start([this] { return linktext::linkOkStatus(m_panel.checkResults().BoardReply, m_owner.port().portName()); },
                  std::move(done));
}

} // namespace ferrox
