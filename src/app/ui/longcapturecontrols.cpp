#include "longcapturecontrols.h"

#include "colorbox.h"
#include "settingspanel.h"

#include "app/base/texts.h"
#include "app/ui/logwindowshookup.h"
#include "capture/texts.h"
#include "data/texts.h"
#include "platform/dialogs.h"
#include "platform/statusreport.h"
#include "platform/ui/appearance.h"
#include "session/monitorsession.h"
#include "signals/signalsampler.h"
#include "views/logwindow.h"
#include "views/texts.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLabel>

namespace ferrox {

namespace {

constexpr quint32 LampReceiving = 0x0000FF; // red
constexpr quint32 LampWaiting = 0x00FFFF;   // yellow: the link is down, the capture waits
constexpr quint32 LampIdle = 0x000000;

static_assert(LongCaptureSettings::LargestFile == StreamSplitter::LargestPiece);

QString clockTime(qint64 epochMicros)
{
    return QDateTime::fromMSecsSinceEpoch(epochMicros / 1000).toString(QStringLiteral("HH:mm:ss"));
}

} // namespace

LongCaptureControls::LongCaptureControls(const Items &items, MonitorSession &state, LinkOwner &owner,
                                         SignalSampler &sampler, LogWindowsHookup &logWindows,
                                         const QString &appFolder)
    : m_items(items),
      m_state(state),
      m_owner(owner),
      m_sampler(sampler),
      m_logWindows(logWindows),
      m_appFolder(appFolder)
{
    m_counterTimer.setInterval(CounterPeriodMs);
    connect(&m_counterTimer, &QTimer::timeout, this, &LongCaptureControls::showProgress);
    connect(items.openFile, &QAction::triggered, this, &LongCaptureControls::openFinishedFile);
}

LongCaptureControls::~LongCaptureControls() = default;

void LongCaptureControls::showStatus(const QString &text)
{
    ReportStatus(*m_items.status, 1, text, 0);
}

void LongCaptureControls::appendLog(const QString &text)
{
    if (LogWindow *window = m_logWindows.registry().LogWindows(m_logNumber); window && !text.isEmpty())
        window->appendText(QString(text).replace(u'\n', QStringLiteral("\r\n")));
}

void LongCaptureControls::start()
{
    if (m_capture || !m_state.capture().prepare())
        return;
    const LongCaptureSettings &settings = m_state.longCapture();
    const QString series = QDir::toNativeSeparators(
        longCaptureSeries(settings, m_appFolder, QDateTime::currentDateTime()));
    m_folder = QFileInfo(series).absolutePath();
    SplitCaptureRequest request;
    request.settings = m_state.settings();
    request.dataPath = series;
    request.splitBytes = settings.fileBytes;
    request.keepFiles = settings.keepFiles;
    request.resume = settings.reconnect;
    // Refused before the board hears anything: a folder that cannot be
    // made, or an earlier run's file the series would overwrite.
    QString refusal;
    if (!QDir().mkpath(m_folder))
        refusal = apptext::folderNotMade(m_folder);
    else if (const QString existing = SplitFiles(series, settings.keepFiles).collision(); !existing.isEmpty())
        refusal = apptext::seriesExists(existing);
    if (!refusal.isEmpty()) {
        m_state.capture().finish();
        m_items.dialogs->inform(refusal, MessageIcon::Critical);
        return;
    }

    m_state.capture().beginStart();
    m_sampler.setSamplingEnabled(false);
    m_sampler.DisableSignalPanel();
    m_items.openFile->setEnabled(false);
    LogWindow *window = m_logWindows.registry().NewLogWindow();
    m_logNumber = window->number();
    window->setCaption(window->caption() + viewtexts::captionDash() + apptext::longCaptureInto(series));
    showStatus(CaptureTexts::startingStatus());
    m_items.panel->receivedBytesLabel()->setText(apptext::longCounter(0, 0));
    m_items.panel->receivedBytesLabel()->setToolTip(apptext::LongCounterTip);

    m_last.reset();
    m_capture = std::make_unique<ResumingCapture>(m_owner, request);
    ResumingCapture *capture = m_capture.get();
    connect(capture, &ResumingCapture::logText, this, &LongCaptureControls::appendLog);
    connect(capture, &ResumingCapture::streamStarted, this, &LongCaptureControls::onStreamStarted);
    connect(capture, &ResumingCapture::stored, this, [this](const QByteArray &bytes) {
        m_blockArrived = true;
        emit streamBytes(bytes);
    });
    connect(capture, &ResumingCapture::linkLost, this,
            [this](qint64 at, const QString &, bool lastByteCut) { onLinkLost(at, lastByteCut); });
    connect(capture, &ResumingCapture::waiting, this, &LongCaptureControls::onWaiting);
    connect(capture, &ResumingCapture::resumed, this,
            [this](qint64 at, const QString &file, int) { onResumed(at, file); });
    connect(capture, &ResumingCapture::finished, this, &LongCaptureControls::onFinished);
    capture->start();
}

void LongCaptureControls::requestStop()
{
    if (!m_capture)
        return;
    m_state.capture().askStop();
    m_capture->requestStop();
    showStatus(CaptureTexts::stopStatus());
}

void LongCaptureControls::abandon()
{
    m_counterTimer.stop();
    // Nothing more may reach the shut link: no resume, no stop sequence.
    m_capture.reset();
    m_state.setWaitingForLink(false);
}

void LongCaptureControls::onStreamStarted()
{
    m_state.capture().setStreaming();
    m_state.setWaitingForLink(false);
    m_blockArrived = false;
    m_counterTimer.start();
}

void LongCaptureControls::onWaiting(const QString &reason)
{
    appendLog(reason);
    // A lost link's line stays in the status line; a link missing from the start says why.
    if (!m_state.waitingForLink())
        showStatus(reason.trimmed().section(u'\n', 0, 0));
    m_state.setWaitingForLink(true);
    showProgress();
}

void LongCaptureControls::onLinkLost(qint64 lostEpochMicros, bool lastByteCut)
{
    m_state.setWaitingForLink(true);
    const QString waiting = apptext::linkLostWaiting(clockTime(lostEpochMicros));
    appendLog(waiting + u'\n' + (lastByteCut ? DataTexts::lastByteCut() + u'\n' : QString()));
    showStatus(waiting);
    showProgress();
}

void LongCaptureControls::onResumed(qint64 backEpochMicros, const QString &file)
{
    m_state.setWaitingForLink(false);
    const QString back = apptext::linkBack(clockTime(backEpochMicros), QFileInfo(file).fileName());
    appendLog(back + u'\n');
    showStatus(back);
}

void LongCaptureControls::showProgress()
{
    SettingsPanel *panel = m_items.panel;
    const bool arrived = std::exchange(m_blockArrived, false);
    panel->receiveLamp()->setColor(
        colorFromBgr(m_state.waitingForLink() ? LampWaiting : arrived ? LampReceiving : LampIdle));
    const SplitOutput *output = capture() ? capture()->output() : nullptr;
    if (!output)
        return;
    const qint64 run = output->monitoredBytes();
    panel->receivedBytesLabel()->setText(apptext::longCounter(run, qMax<qint64>(0, run - output->savedMonitoredBytes())));
    m_items.openFile->setEnabled(output->files().written() > 0);
}

void LongCaptureControls::onFinished(const SplitCaptureResult &result)
{
    m_counterTimer.stop();
    m_state.setWaitingForLink(false);
    showProgress();
    const SplitOutput &output = *m_capture->output();
    QString summary = result.text;
    summary += apptext::longCaptureEnded(output.files().written(), output.savedMonitoredBytes()) + u'\n';
    if (!output.failure().isEmpty())
        summary += output.failure() + u'\n';
    appendLog(summary);
    showStatus(summary.trimmed().section(u'\n', -1));
    // The files stay to be opened; the run object goes once its signal has returned.
    m_last = std::move(m_capture);
    m_state.capture().endStream();
    m_state.capture().beginProcessing();
    m_state.capture().finish();
    emit ended();
}

void LongCaptureControls::openFinishedFile()
{
    FileDialogRequest request;
    request.title = apptext::LongCaptureOpenTitle;
    request.filter = viewtexts::dataFileFilter();
    request.defaultExtension = viewtexts::dataFileExtension();
    request.initialFolder = m_folder;
    request.initialName = viewtexts::dataFilePattern();
    if (const std::optional<QString> chosen = m_items.dialogs->openFile(request))
        m_logWindows.monitorLog().openDataFile(*chosen);
}

} // namespace ferrox
