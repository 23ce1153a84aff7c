#pragma once

#include "checkexchange.h"
#include "linkpanel.h"
#include "platform/settingsstore.h"
#include "statusblink.h"

#include <QObject>

#include <functional>

namespace ferrox {

class Dialogs;

// The connection check and what surrounds it: the first check at start-up,
// the check the user asks for, the port choice with its check. It asks the
// board through the link owner, writes what it found into the panel's
// results and offers the program the features of the firmware that answered.
class ConnectionCheck : public QObject
{
    Q_OBJECT
public:
    enum class Origin {
        StartUp,   // a port failure shows the port message
        UserAsked, // likewise
        PortChoice // a port failure shows nothing more
    };

    ConnectionCheck(LinkOwner &owner, LinkPanel &panel, Dialogs &dialogs, ProgramSettings settings,
                    QObject *parent = nullptr);

    // Start-up: open the port with the chosen settings, check, and tell the
    // user when no board answered. done runs when all that is over.
    void startUp(std::function<void()> done = {});

    // ConnectionCheck(): in its turn on the link. False, and nothing
    // happens, while another check is pending. done runs when the check
    // is over, its last status text shown.
    bool check(Origin origin, std::function<void()> done = {});

    // A new port text was chosen on the panel: open that port, on success
    // store it and check; otherwise say so and go back to the old port.
    void choosePort();

    // The status blinks; done follows the last phase.
    void ReportNoAnswer(std::function<void()> done = {});
    void ReportLinkOK(std::function<void()> done = {});

signals:
    // A check holds the link and is about to ask the board.
    void checkStarted();
    // A check ended; its results are written.
    void checkFinished();

private:
    void runCheck(Origin origin, const LinkLease &lease, std::function<void()> done);
    void evaluate(const CheckOutcome &outcome, bool asked, Origin origin, const LinkLease &lease,
                  std::function<void()> done);
    void takeReply(const QByteArray &reply);
    void setVerdict(bool linkFailed, bool boardVerified);
    void offerFirmwareFeatures();
    void showPortUnusable(int errorCode);
    QString refusalAdvice() const;
    QString panelPortName() const;

    LinkOwner &m_owner;
    LinkPanel &m_panel;
    Dialogs &m_dialogs;
    ProgramSettings m_settings;
    StatusBlink m_blink;
};

} // namespace ferrox
