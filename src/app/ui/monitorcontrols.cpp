#include "monitorcontrols.h"

#include "colorbox.h"
#include "settingspanel.h"

#include "app/ui/logwindowshookup.h"
#include "capture/texts.h"
#include "data/datafiles.h"
#include "link/protocol.h"
#include "platform/dialogs.h"
#include "platform/statusreport.h"
#include "version/programinfo.h"
#include "platform/ui/appearance.h"
#include "session/monitorsession.h"
#include "signals/signalsampler.h"
#include "views/logwindow.h"
#include "views/texts.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QLabel>
#include <QRadioButton>

namespace ferrox {

namespace {

constexpr quint32 CapturingBackground = 0x80FFFF; // light yellow
constexpr quint32 StoppedBackground = 0xFFFFFF;
constexpr quint32 LampReceiving = 0x0000FF;       // red
constexpr quint32 LampIdle = 0x000000;
constexpr double CaptureRightMarginTwips = 7300;
// The part of the version reply the log shows: bytes 0..20, each as the
// character of its code.
constexpr qsizetype ShownReplyBytes = VersionReplyLength - 1;

const QString crlf = QStringLiteral("\r\n");

} // namespace

MonitorControls::MonitorControls(const Items &items, MonitorSession &state, LinkOwner &owner,
                                 SignalSampler &sampler, LogWindowsHookup &logWindows, const QString &appFolder)
    : m_items(items),
      m_state(state),
      m_owner(owner),
      m_sampler(sampler),
      m_logWindows(logWindows),
      m_appFolder(appFolder),
      m_run(owner, state.capture()),
      m_longCapture({items.panel, items.status, items.dialogs, items.longCaptureOpen}, state, owner, sampler,
                    logWindows, appFolder)
{
    m_counterTimer.setInterval(CounterPeriodMs);
    connect(&m_counterTimer, &QTimer::timeout, this, &MonitorControls::showProgress);
    connect(&m_run, &CaptureRun::startFailed, this, &MonitorControls::onStartFailed);
    connect(&m_run, &CaptureRun::streamStarted, this, &MonitorControls::onStreamStarted);
    connect(&m_run, &CaptureRun::stored, this, &MonitorControls::onStored);
    connect(&m_run, &CaptureRun::stopSent, this, &MonitorControls::onStopSent);
    connect(&m_run, &CaptureRun::streamEnded, this, &MonitorControls::onStreamEnded);
    connect(&m_run, &CaptureRun::finished, this, &MonitorControls::onFinished);
    // The long capture feeds the simple monitor as the buffer's does; at
    // its end the simple monitor starts its own stream, since the long
    // capture has quieted the board.
    connect(&m_longCapture, &LongCaptureControls::streamBytes, this, [this](const QByteArray &bytes) {
        if (m_state.SimpleMonitorOpen())
            emit liveBytes(bytes);
    });
    connect(&m_longCapture, &LongCaptureControls::ended, this, &MonitorControls::TP_Monitor);

    connect(items.start, &QAction::triggered, this, &MonitorControls::StartMonitor);
    connect(items.stop, &QAction::triggered, this, &MonitorControls::StopMonitor);
    connect(items.simpleMonitor, &QAction::triggered, this, &MonitorControls::simpleMonitorToggled);
    connect(items.menuStart, &QAction::triggered, this, &MonitorControls::StartMonitor);
    connect(items.menuStop, &QAction::triggered, this, &MonitorControls::StopMonitor);
    connect(items.panel->receivedBytesCheck(), &QCheckBox::clicked, this, &MonitorControls::Check_RecByte_Click);
    logWindows.registry().setRunningCapture(this);
}

MonitorControls::~MonitorControls()
{
    m_logWindows.registry().setRunningCapture(nullptr);
}

void MonitorControls::Check_RecByte_Click(bool on)
{
    SettingsPanel *panel = m_items.panel;
    if (on)
        panel->receivedBytesLabel()->setText(QStringLiteral("0"));
    panel->receivedBytesLabel()->setVisible(on);
    panel->byteUnitLabel()->setVisible(on);
}

bool MonitorControls::captureRunning() const
{
    const MonitorPhase phase = m_state.phase();
    return phase == MonitorPhase::Starting || phase == MonitorPhase::Streaming;
}

void MonitorControls::showStatus(const QString &text)
{
    ReportStatus(*m_items.status, 1, text, 0);
}

LogWindow *MonitorControls::log() const
{
    return m_logWindows.registry().LogWindows(m_logNumber);
}

void MonitorControls::appendLog(const QString &text)
{
    if (LogWindow *window = log(); window && !text.isEmpty())
        window->appendText(text);
}

void MonitorControls::StartMonitor()
{
    if (m_state.longCapture().on) {
        m_longCapture.start();
        return;
    }
    // The log window and the texts are the capture's preparation.
    if (!m_state.capture().prepare())
        return;
    m_exitReport = {};
    showStatus(CaptureTexts::startingStatus());
    SettingsPanel *panel = m_items.panel;
    panel->receivedBytesLabel()->setText(QStringLiteral("0"));
    panel->receivedBytesLabel()->setToolTip(QString()); // a long capture's counter said two numbers
    m_sampler.setSamplingEnabled(false);
    m_sampler.DisableSignalPanel();

    LogWindow *window = m_logWindows.registry().NewLogWindow();
    m_logNumber = window->number();
    const MonitorSettings &settings = m_state.settings();
    m_displayMode = settings.displayMode;
    window->setCaption(window->caption() + viewtexts::displayCaptionPiece() + panel->displayModeCaption(m_displayMode));
    window->setRightMargin(CaptureRightMarginTwips);
    // A failing step of the start is skipped; the rendering reports the file.
    writeFileAtomically(m_appFolder + renderedTextFileName(), QByteArrayLiteral("\r\n"));
    window->setBackground(colorFromBgr(CapturingBackground));

    m_run.start({m_state.FirmwareVersion(), settings});
}

void MonitorControls::StopMonitor()
{
    if (!m_state.MonitorBusy())
        return;
    if (m_longCapture.isRunning()) {
        m_longCapture.requestStop();
        return;
    }
    m_run.requestStop();
    if (LogWindow *window = log())
        window->setBackground(colorFromBgr(StoppedBackground));
    showStatus(CaptureTexts::stopStatus());
}

void MonitorControls::onStartFailed(const CaptureStartOutcome &outcome)
{
    if (LogWindow *window = log()) {
        if (outcome.status == CaptureStartOutcome::Status::NoReply)
            window->replaceText(CaptureTexts::communicationFailed());
        else
            window->appendText(unsupportedSettingLine(outcome.status) + crlf);
        window->setBackground(windowBackgroundColor());
    }
    // The starting text is no longer true; the log window says what failed.
    showStatus(QString());
    if (!m_state.SimpleMonitorOpen()) {
        // As after every capture start: the board is told to stop.
        m_run.stopBoard();
    }
    TP_Monitor();
}

void MonitorControls::onStreamStarted(const QByteArray &reply)
{
    // A connection check that held the start back has shown its own result
    // meanwhile; the capture's text is the one that stands while it runs.
    showStatus(CaptureTexts::startingStatus());
    appendLog(QString::fromLatin1(reply.first(qMin(ShownReplyBytes, reply.size()))) + CaptureTexts::replySuffix()
              + crlf + CaptureTexts::streamStarted());
    m_blockArrived = false;
    m_counterTimer.start();
}

void MonitorControls::onStored(const QByteArray &bytes, qint32)
{
    m_blockArrived = true;
    if (m_state.SimpleMonitorOpen())
        emit liveBytes(bytes);
}

void MonitorControls::showProgress()
{
    SettingsPanel *panel = m_items.panel;
    panel->receiveLamp()->setColor(colorFromBgr(std::exchange(m_blockArrived, false) ? LampReceiving : LampIdle));
    // Hidden while Check_RecByte is off; its click shows it anew from 0.
    panel->receivedBytesLabel()->setText(QString::number(m_run.recorder().monitoredBytes()));
}

void MonitorControls::onStopSent(CaptureRun::StopKind, bool written)
{
    // The user's stop and the forced one alike: StopMonitor's own text.
    if (!written)
        appendLog(CaptureTexts::notStarted() + crlf);
}

void MonitorControls::onStreamEnded(CaptureRecorder::Exit exit)
{
    m_counterTimer.stop();
    showProgress();
    const CaptureEnding ending = m_run.ending(exit, m_state.settings().port);
    // The program stopped the board: the window shows a stop.
    if (ending.exit == CaptureExit::Overflow || ending.exit == CaptureExit::DataRate)
        StopMonitor();
    m_exitReport = reportExit(ending);
    appendLog(joinedLines(m_exitReport.lines, crlf));

    // The data is named, the data commands enabled.
    MonitorData data;
    data.capture = m_run.recorder().capture();
    data.times = m_run.arrivalTimes();
    data.CaptureTimestamp = QDateTime::currentDateTime().toString(CaptureTexts::timestampFormat());
    m_state.setCurrentData(data);
    m_logWindows.setMainCaption(mainTitleText() + data.CaptureTitle());
    if (LogWindow *window = log())
        window->setCaption(window->caption() + viewtexts::captionDash() + data.CaptureTimestamp);
    // The simple monitor takes the stream over, or the board is told to stop.
    m_run.setQuietBoardAtEnd(!m_state.SimpleMonitorOpen());
}

void MonitorControls::onFinished()
{
    // From the event loop: the processing and its message boxes come after
    // the capture's end.
    QTimer::singleShot(0, this, [this] {
        if (!m_exitReport.alarm.isEmpty())
            m_items.dialogs->inform(m_exitReport.alarm, MessageIcon::Critical, BlankCaption);
        const qint32 number = m_logNumber;
        m_logWindows.monitorLog().ProcessCapturedData(number, m_displayMode, [this, note = m_exitReport.note,
                                                                              number](bool replaced) {
            // A rendering replaced the window's text, the exit lines with it;
            // the caret is at its top. Without one they are still there.
            if (LogWindow *window = m_logWindows.registry().LogWindows(number);
                window && replaced && !note.isEmpty())
                window->appendText(note + crlf);
        });
        if (!m_exitReport.note.isEmpty())
            showStatus(m_exitReport.note);
        TP_Monitor();
        m_state.capture().finish();
    });
}

void MonitorControls::TP_Monitor()
{
    if (m_state.SimpleMonitorOpen()) {
        emit handBackToSimpleMonitor();
        return;
    }
    if (!m_state.startEnabled() || !m_state.BoardVerified())
        return;
    m_sampler.EnableSignalPanel();
    m_sampler.setSamplingEnabled(true);
}

} // namespace ferrox
