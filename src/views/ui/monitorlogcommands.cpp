#include "monitorlogcommands.h"

#include "data/capturestore.h"
#include "data/datafiles.h"
#include "data/finishedcapture.h"
#include "data/renderer.h"
#include "data/sidecar.h"
#include "data/texts.h"
#include "platform/statusreport.h"
#include "platform/dialogs.h"
#include "version/programinfo.h"
#include "platform/ui/appearance.h"
#include "settings/settingsschema.h"
#include "views/logwindow.h"
#include "views/logwindowregistry.h"
#include "views/textfile.h"
#include "views/texts.h"
#include "frames/framepcap.h"
#include "timeline/exportformats.h"
#include "timeline/texts.h"
#include "timeline/timeline.h"

#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QCursor>
#include <QGuiApplication>

#include <memory>

namespace ferrox {

namespace {

// The text view's colour while a capture's data is being judged.
constexpr quint32 processingBackground = 0xC0FFC0;

const QString crlf = QStringLiteral("\r\n");

} // namespace

// The hourglass over the program for as long as one of these lives.
class MonitorLogCommands::BusyCursor
{
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

MonitorLogHost::~MonitorLogHost() = default;

MonitorLogCommands::MonitorLogCommands(LogWindowRegistry &windows, const MonitorData &data,
                                       MonitorLogHost &host, Dialogs &dialogs,
                                       ProgramSettings &settings, StatusPanel &status,
                                       const QString &appFolder)
    : m_windows(windows), m_data(data), m_host(host), m_dialogs(dialogs), m_status(status),
      m_files(dialogs, settings, status), m_appFolder(appFolder)
{
}

QString MonitorLogCommands::dataFilePath() const
{
    return m_appFolder + monitorDataFileName();
}

QString MonitorLogCommands::renderedTextPath() const
{
    return m_appFolder + renderedTextFileName();
}

// When the user closed the window, its texts go nowhere.
void MonitorLogCommands::append(qint32 logNumber, const QString &text)
{
    if (LogWindow *log = m_windows.LogWindows(logNumber))
        log->appendText(text);
}

void MonitorLogCommands::ProcessCapturedData(qint32 logNumber, qint32 displayMode,
                                             std::function<void(bool replaced)> done)
{
    m_host.setReceiveLampColor(buttonFaceColor());
    if (LogWindow *log = m_windows.LogWindows(logNumber))
        log->setBackground(colorFromBgr(processingBackground));
    auto busy = std::make_shared<BusyCursor>();
    const CaptureJudgement judgement = judgeCapture(m_data, renderChoice(displayMode));
    if (judgement.verdict != CaptureVerdict::Empty)
        append(logNumber, viewtexts::examiningData());
    CaptureFiles files;
    files.dataPath = dataFilePath();
    for (const QString &failure : storeCapture(m_data, files).failures)
        m_dialogs.inform(failure, MessageIcon::Critical);
    if (judgement.verdict == CaptureVerdict::Sound) {
        showRendering(logNumber, judgement.rendering, std::move(busy), std::move(done));
        return;
    }
    rejectCapture(logNumber);
    // The advice stands apart from the progress texts above it.
    const QString apart = judgement.verdict == CaptureVerdict::SequenceErrors ? crlf : QString();
    append(logNumber, apart + joinedLines(judgement.rejection, crlf));
    m_host.setDataCommandsEnabled(false);
    m_host.setMainCaption(mainTitleText() + viewtexts::noCurrentData());
    if (done)
        done(false);
}

void MonitorLogCommands::placeTimes(const QString &dataPath)
{
    const FileWriteResult placed = placeSidecar(dataPath, m_data.times);
    if (!placed.ok)
        m_dialogs.inform(placed.message, MessageIcon::Critical);
}

void MonitorLogCommands::rejectCapture(qint32 logNumber)
{
    if (LogWindow *log = m_windows.LogWindows(logNumber))
        log->setBackground(windowBackgroundColor());
    ReportStatus(m_status, 1, viewtexts::processingFinished(), 0);
}

RenderChoice MonitorLogCommands::renderChoice(qint32 mode)
{
    RenderChoice choice;
    choice.DisplayModeNumber = mode;
    choice.header = m_host.reportHeaderSettings();
    choice.progress = [this](qint32 remaining) { ReportStatus(m_status, 1, QString(), remaining); };
    choice.byteMap = ByteMapRequest::Wanted;
    return choice;
}

void MonitorLogCommands::RenderMonitorLog(qint32 logNumber, qint32 displayMode, std::function<void()> done)
{
    if (m_data.capture.CaptureEnd() == 0) {
        append(logNumber, DataTexts::noMonitorData() + crlf);
        if (done)
            done();
        return;
    }
    auto busy = std::make_shared<BusyCursor>();
    showRendering(logNumber, renderData(m_data, renderChoice(displayMode)), std::move(busy),
                  [done = std::move(done)](bool) {
                      if (done)
                          done();
                  });
}

void MonitorLogCommands::showRendering(qint32 logNumber, const std::optional<RenderResult> &result,
                                       std::shared_ptr<BusyCursor> busy, std::function<void(bool replaced)> done)
{
    append(logNumber, viewtexts::processingBytes(m_data.capture.DataByteCount()));
    QFile::remove(renderedTextPath());
    if (!result) {
        // No such mode: nothing rendered, the window keeps its texts.
        if (done)
            done(false);
        return;
    }
    if (result->failed) {
        ReportStatus(m_status, 1, DataTexts::renderError(), 0);
        m_dialogs.inform(DataTexts::renderError(), MessageIcon::Critical, BlankCaption);
    }
    const FileWriteResult written = writeFileAtomically(renderedTextPath(), result->text);
    if (!written.ok)
        m_dialogs.inform(written.message, MessageIcon::Critical); // the window shows it anyway
    if (result->ReceiveErrorCount != 0)
        append(logNumber, viewtexts::receiveErrors(result->ReceiveErrorCount));
    append(logNumber, viewtexts::pastingText());

    LogWindow *log = m_windows.LogWindows(logNumber);
    if (log) {
        log->loadRendering(result->text, result->byteMap, [busy, done] {
            if (done)
                done(true);
        });
        log->setBackground(windowBackgroundColor());
    }
    if (!log && done)
        done(false);
}

void MonitorLogCommands::displayLog(qint32 mode, const QString &menuCaption)
{
    LogWindow *window = m_windows.NewLogWindow();
    window->setCaption(window->caption() + viewtexts::displayCaptionPiece() + menuCaption
                       + viewtexts::captionDash() + m_data.CaptureTimestamp);
    window->setRightMargin(displayRightMarginTwips);
    RenderMonitorLog(window->number(), mode, [this] { ReportStatus(m_status, 1, viewtexts::displayFinished(), 0); });
}

void MonitorLogCommands::openDataFile(const QString &path)
{
    const QString modeText = m_host.displayModeText();
    const QString piece = viewtexts::displayWord() + modeText + viewtexts::captionDash();
    const Opened opened = OpenMonitorDataFile(path, displayModeNumberOf(modeText));
    if (!opened.ok)
        return;
    LogWindow *window = m_windows.LogWindows(opened.logNumber);
    if (!window)
        return;
    window->setCaption(window->caption() + viewtexts::captionSeparator() + piece + m_data.CaptureTimestamp);
    window->setRightMargin(displayRightMarginTwips);
    // The cut note rides along: the status line is the one place it stays.
    QString status = viewtexts::shownInDefaultMode();
    for (const QString &note : {opened.cutNote, opened.sidecarNote}) {
        if (!note.isEmpty())
            status += QStringLiteral("　") + note;
    }
    ReportStatus(m_status, 1, status, 0);
}

MonitorLogCommands::Opened MonitorLogCommands::OpenMonitorDataFile(const QString &givenPath, qint32 displayMode)
{
    FileDialogRequest request;
    request.title = viewtexts::openDataTitle();
    request.defaultExtension = viewtexts::dataFileExtension();
    request.filter = viewtexts::dataFileFilter();
    request.initialName = viewtexts::dataFilePattern();
    const std::optional<QString> chosen = givenPath.isEmpty() ? m_files.open(request) : givenPath;
    if (!chosen)
        return {};
    const QString &path = *chosen;
    // A named pipe or device would hold the window until it delivers.
    LoadResult loaded = LoadMonitorData(path, FileKinds::RegularOnly);
    if (!loaded.ok()) {
        // Missing, unreadable, refused or empty: the current data stays.
        m_dialogs.inform(loaded.message, MessageIcon::Critical, viewtexts::fileOpenTitle());
        return {};
    }
    const FileWriteResult stored = StoreMonitorData(loaded.capture, dataFilePath());
    if (!stored.ok)
        m_dialogs.inform(stored.message, MessageIcon::Critical);
    SidecarRead times = readSidecar(path, qint64(loaded.capture.CaptureEnd()) + 1);

    m_host.setCurrentData({loaded.capture, path, std::move(times.times)});
    placeTimes(dataFilePath());
    m_host.setMainCaption(mainTitleText() + m_data.CaptureTitle());
    m_files.rememberFolder(path);

    Opened opened;
    opened.logNumber = m_windows.NewLogWindow()->number();
    append(opened.logNumber, viewtexts::loadingData());
    RenderMonitorLog(opened.logNumber, displayMode);
    m_host.setDataCommandsEnabled(true);
    opened.ok = true;
    if (loaded.status == LoadResult::Status::Cut)
        opened.cutNote = loaded.message;
    opened.sidecarNote = times.note;
    return opened;
}

void MonitorLogCommands::saveDataFile()
{
    FileDialogRequest request;
    request.title = viewtexts::saveDataTitle();
    request.defaultExtension = viewtexts::dataFileExtension();
    request.filter = viewtexts::dataFileFilter();
    const std::optional<QString> chosen =
        m_files.save(request, viewtexts::dataOverwriteText(), viewtexts::dataSaveCancelled());
    if (!chosen)
        return;
    const QString &path = *chosen;
    // The data held, not "rs_data.dat": storing that may have failed.
    const FileWriteResult written = StoreMonitorData(m_data.capture, path);
    if (!written.ok) {
        m_dialogs.inform(written.message, MessageIcon::Critical);
        return;
    }
    placeTimes(path);
    m_host.setMainCaption(mainTitleText() + path);
    m_files.rememberFolder(path);
}

void MonitorLogCommands::displayTimeline()
{
    LogWindow *window = m_windows.NewLogWindow();
    window->setCaption(window->caption() + viewtexts::captionSeparator() + viewtexts::timelineCaptionPiece()
                       + viewtexts::captionDash() + m_data.CaptureTimestamp);
    window->setRightMargin(displayRightMarginTwips);
    const Timeline timeline = buildTimeline(assembleMonitoredBytes(m_data.capture), m_data.times);
    QString text = timelineText(timeline);
    if (!m_data.times)
        text.prepend(DataTexts::noArrivalTimes() + u'\n');
    window->replaceText(text.replace(u'\n', QStringLiteral("\r\n")));
    ReportStatus(m_status, 1, viewtexts::displayFinished(), 0);
}

void MonitorLogCommands::exportData(const FramerOptions &records)
{
    FileDialogRequest request;
    request.title = viewtexts::exportTitle();
    request.defaultExtension = viewtexts::exportExtension();
    request.filter = viewtexts::exportFilter();
    // The data's own name: an opened file's, else the capture file's.
    const QFileInfo dataFile(m_data.CaptureTimestamp.startsWith(u'/') ? m_data.CaptureTimestamp
                                                                      : monitorDataFileName());
    request.initialName = dataFile.completeBaseName() + u'.' + viewtexts::exportExtension();
    const std::optional<QString> chosen = m_files.save(request, viewtexts::exportOverwriteText());
    if (!chosen)
        return;
    const std::optional<ExportFormat> format = exportFormatNamed(QFileInfo(*chosen).suffix().toLower());
    if (!format) {
        ReportStatus(m_status, 1, viewtexts::exportUnknownFormat(), 0);
        return;
    }
    const MonitoredBytes bytes = assembleMonitoredBytes(m_data.capture);
    const QByteArray exported = *format == ExportFormat::Pcap
        ? pcapOfFrames(buildFrames(bytes, m_data.times, PlainFrames(), records).frames, m_data.times)
        : exportBytes(bytes, m_data.times, *format);
    const FileWriteResult written = writeFileAtomically(*chosen, exported);
    if (!written.ok) {
        m_dialogs.inform(written.message, MessageIcon::Critical);
        return;
    }
    m_files.rememberFolder(*chosen);
    ReportStatus(m_status, 1, viewtexts::exportFinished(QDir::toNativeSeparators(*chosen)), 0);
    if (bytes.errorOffset >= 0)
        m_dialogs.inform(TimelineTexts::timelineCutAtError(bytes.errorOffset), MessageIcon::Exclamation);
}

} // namespace ferrox
