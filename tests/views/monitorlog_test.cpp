// The log windows in an MDI area, driven through their commands with scripted
// dialogs: numbering, captions, data and text files, processing, printing.
#include "data/datafiles.h"
#include "views/logtext.h"
#include "views/ui/documentwindow.h"
#include "views/ui/findbar.h"
#include "views/ui/logfilecommands.h"
#include "views/ui/logtextview.h"
#include "views/ui/logwindowarea.h"
#include "views/ui/monitorlogcommands.h"
#include "views/ui/windowmenu.h"
#include "version/programinfo.h"

#include "support/fakedialogs.h"
#include "support/fakestores.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace ferrox;
using namespace ferrox::test;

namespace {

const QString mainTitle = mainTitleText();

struct FakeHost : MonitorLogHost, LogWindowListener
{
    ReportHeaderSettings reportHeaderSettings() const override { return {}; }
    QString displayModeText() const override { return QStringLiteral("モード1 <HEX>"); }
    void setDataCommandsEnabled(bool enabled) override { dataCommands = enabled; }
    void setCurrentData(const MonitorData &opened) override { *data = opened; }
    void setMainCaption(const QString &caption) override { mainCaption = caption; }
    void setReceiveLampColor(const QColor &) override {}
    void showOpenLogWindowCount(qint32 count) override { label = count; }
    void setLogTextCommandsEnabled(bool) override {}

    MonitorData *data = nullptr;
    bool dataCommands = false;
    QString mainCaption;
    int label = 0; // open window count shown
};

// Records each stop request and whether the closed window was still there.
struct StandInCapture : RunningCapture
{
    StandInCapture(LogWindowRegistry &r, bool running) : registry(r), running(running) {}
    bool captureRunning() const override { return running; }
    void StopMonitor() override { stops << (registry.newest() != nullptr); }
    LogWindowRegistry &registry;
    bool running;
    QList<bool> stops; // one per request: was the newest window still open

};

// Streams as the board sends them: J1's bytes as A/B nibbles, J2's as 8/9.
const QByteArray j1A = QByteArray::fromHex("A4B1 FF");          // J1 sends "A"
const QByteArray j1A_j2Ack = QByteArray::fromHex("A4B1 8096 FF"); // and J2 answers ACK

class LogWindows : public testing::Test
{
protected:
    LogWindows()
    {
        area.resize(1000, 700);
        area.show();
        windows.registry().setListener(&host);
        host.data = &data;
    }

    QString path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }
    QString written(const char *name, const QByteArray &bytes) { return writeFile(path(name), bytes); }
    DocumentWindow *window(qint32 n) { return dynamic_cast<DocumentWindow *>(windows.registry().LogWindows(n)); }
    DocumentWindow *newest() { return dynamic_cast<DocumentWindow *>(windows.registry().newest()); }
    bool loaded(DocumentWindow *w) { return w && QTest::qWaitFor([w] { return !w->isLoading(); }, 20000); }
    QString text(DocumentWindow *w) { return w->textView()->plainText(); }
    void closeWindow(qint32 n) { window(n)->parentWidget()->close(); }
    const FakeDialogs::Message &box() const { return dialogs.messages.last(); }
    void newWindow(const QString &text = {}) { windows.registry().NewLogWindow()->appendText(text); }

    void setData(const QByteArray &s) { data = {CaptureBuffer::fromStream(s), QStringLiteral("2026年12月06日16:00:00"), {}}; }
    void openData(const QString &file)
    {
        dialogs.chooseFile(file);
        commands.openDataFile();
    }

    QTemporaryDir dir;
    QString appFolder = dir.path() + QLatin1Char('/');
    QString renderedText = appFolder + QStringLiteral("rs_text.rsm");
    QMdiArea area;
    RecordingStatus status;
    FakeDialogs dialogs;
    MemorySettingsStore store;
    ProgramSettings settings{store};
    FakeHost host;
    MonitorData data;
    LogWindowArea windows{area, status};
    LogFileCommands files{windows, dialogs, settings, status};
    MonitorLogCommands commands{windows.registry(), data, host, dialogs, settings, status, appFolder};
};

// A display window's caption is the menu item's with the data's name.
TEST_F(LogWindows, NumbersGrowAcrossAllKindsOfWindowAndAreNeverReused)
{
    setData(j1A);
    dialogs.chooseFile(written("a.txt", "a\r\n"));
    files.openTextFile();                                      // 1
    commands.displayLog(2, QStringLiteral("モード2 <ASCII>"));  // 2
    EXPECT_EQ(newest()->caption(), QStringLiteral("モニターログ ： 表示モード2 <ASCII> - 2026年12月06日16:00:00"));
    windows.registry().NewLogWindow();                          // 3, as a capture opens one
    EXPECT_EQ(windows.registry().CurrentLogWindow(), 3);
    ASSERT_TRUE(loaded(window(2)));
    closeWindow(2);
    EXPECT_EQ(windows.registry().OpenLogWindowCount(), 2);
    commands.displayLog(1, QStringLiteral("モード1 <HEX>"));
    EXPECT_EQ(newest()->number(), 4);
    EXPECT_EQ(host.label, 3);
}

TEST_F(LogWindows, OnlyClosingTheNewestWindowDuringACaptureStopsIt)
{
    const std::tuple<const char *, bool, bool, bool> cases[] = { // name, capture running, newest closed, stops
        {"newest during a capture", true, true, true}, {"older during a capture", true, false, false},
        {"newest without a capture", false, true, false}};
    for (const auto &[name, running, newestClosed, stops] : cases) {
        SCOPED_TRACE(name);
        StandInCapture capture(windows.registry(), running);
        windows.registry().setRunningCapture(&capture);
        status.texts.clear();
        const qint32 older = windows.registry().NewLogWindow()->number();
        windows.registry().NewLogWindow();
        closeWindow(newestClosed ? older + 1 : older);
        EXPECT_EQ(capture.stops, QList<bool>(stops ? 1 : 0, true)); // stopped while still open
        EXPECT_EQ(status.texts.contains(QStringLiteral("モニターがキャンセルされました。")), stops);
        EXPECT_EQ(windows.registry().OpenLogWindowCount(), 1);
        windows.registry().setRunningCapture(nullptr);
        area.closeAllSubWindows();
    }
}

TEST_F(LogWindows, ArrivalTimesTravelWithTheDataAndFeedTheTimelineAndTheExport)
{
    const QByteArray times = "2026-12-06T22:00:51.000000+09:00\n0\t1000\n2\t3500\n";
    const QString first = written("first.dat", j1A_j2Ack);
    written("first.dat.times", times);
    openData(first); // shown at once in the default mode
    ASSERT_TRUE(loaded(newest()));
    EXPECT_EQ(host.mainCaption, mainTitle + QStringLiteral("現在のモニターデータ : ") + first);
    EXPECT_TRUE(host.dataCommands);
    dialogs.chooseFile(path("saved.dat"));
    commands.saveDataFile();
    EXPECT_EQ(readFile(path("saved.dat.times")), times);
    commands.displayTimeline();
    EXPECT_TRUE(text(newest()).contains(QStringLiteral("      0.003500  J1←J2            1         2.500")));
    dialogs.chooseFile(path("out.csv"));
    commands.exportData();
    EXPECT_TRUE(readFile(path("out.csv")).endsWith("1,J2,06,6,[ACK],3500\r\n"));
    EXPECT_EQ(dialogs.fileRequests.constLast().initialName, QStringLiteral("first.pcap")); // the data's own name
    EXPECT_TRUE(status.texts.constLast().contains(path("out.csv"))); // the file written is named
}

// As the command line exports: a record a frame, so two messages of one
// side with a silence between them are two records.
TEST_F(LogWindows, ThePcapExportWritesARecordPerFrame)
{
    // J1 "AB" a byte a millisecond, 50 ms of silence, J1 "CD" likewise.
    const QString data = written("two.dat", QByteArray::fromHex("A4B1 A4B2 A4B3 A4B4 FF"));
    written("two.dat.times", "2026-12-06T22:00:51.000000+09:00\n0\t1000\n2\t2042\n4\t51000\n6\t52042\n");
    openData(data);
    dialogs.chooseFile(path("two.pcap"));
    commands.exportData();
    const QByteArray pcap = readFile(path("two.pcap"));
    qsizetype records = 0;
    for (qsizetype at = 24; at + 16 <= pcap.size(); at += 16 + qFromLittleEndian<quint32>(pcap.constData() + at + 8))
        ++records;
    EXPECT_EQ(records, 2);
}

TEST_F(LogWindows, DataFileSaveWritesTheDataHeldWhenItsDataFileCouldNotBeStoredAfterAsking)
{
    QFile::setPermissions(written("rs_data.dat", j1A), QFileDevice::ReadOwner); // cannot be stored
    openData(written("new.dat", j1A_j2Ack));
    ASSERT_TRUE(loaded(newest()));
    const QString target = written("old.dat", "old");
    dialogs.chooseFile(target);
    dialogs.answerNextMessage(MessageAnswer::Cancel);
    commands.saveDataFile();
    EXPECT_EQ(box().buttons, MessageButtons::OkCancel);
    EXPECT_EQ(readFile(target), QByteArray("old"));
    dialogs.chooseFile(target);
    commands.saveDataFile();
    EXPECT_EQ(readFile(target), j1A_j2Ack);
}

// Both saves ask before writing over a file alike: see the data file case.
TEST_F(LogWindows, TextFilesOpenAndSaveUnderTheirPath)
{
    const QString opened = written("log.txt", encodeLogText(QStringLiteral("モニターログ\r\r\n表示終了\r\n")));
    dialogs.chooseFile(opened);
    files.openTextFile();
    ASSERT_TRUE(loaded(newest()));
    EXPECT_EQ(newest()->caption(), opened);
    EXPECT_EQ(text(newest()), QStringLiteral("モニターログ\n表示終了\n"));
    EXPECT_EQ(store.program(QStringLiteral("OPEN_DIR")), dir.path());

    newWindow(QStringLiteral("new"));
    const QString file = path("saved.txt");
    dialogs.chooseFile(file);
    files.saveTextFile();
    EXPECT_EQ(readFile(file), encodeLogText(QStringLiteral("new")));
    EXPECT_EQ(newest()->caption(), file);

    QMdiSubWindow *simple = area.addSubWindow(new QWidget);
    simple->widget()->setWindowTitle(QStringLiteral("簡易モニターウインドウ"));
    simple->show();
    area.setActiveSubWindow(simple);
    const auto asks = dialogs.fileRequests.size();
    files.saveTextFile();
    EXPECT_EQ(box().text, QStringLiteral("簡易モニターウインドウは、保存できません。"));
    EXPECT_EQ(dialogs.fileRequests.size(), asks);
}

// A found match is no selection to print; the user's own selection, even
// one over the found text, is.
TEST_F(LogWindows, PrintingPrintsTheUsersSelectionWhenAskedAndCancelPrintsNothing)
{
    const QString pdf = path("out.pdf");
    newWindow(QStringLiteral("モニターログ\r\n000000 J1⇒J2 : 41 42\r\n表示終了\r\n"));
    DocumentWindow *window = newest();
    window->openFindBar();
    window->findBar()->findChild<QLineEdit *>(QStringLiteral("findText"))->setText(QStringLiteral("41"));
    window->findAgain(false);
    ASSERT_TRUE(window->textView()->textCursor().hasSelection());
    files.print(); // cancelled
    EXPECT_FALSE(dialogs.printRequests.last().selectionAvailable);
    EXPECT_FALSE(QFile::exists(pdf));

    QTextCursor line(window->textView()->document()->findBlockByNumber(1));
    line.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    window->textView()->setTextCursor(line);
    dialogs.acceptPrint([pdf](QPrinter &p) { p.setOutputFileName(pdf); }, PrintChoice{true}); // a .pdf name prints a PDF
    files.print();
    EXPECT_TRUE(dialogs.printRequests.last().selectionAvailable);
    const std::optional<QString> printed = pdfText(pdf);
    if (!printed)
        GTEST_SKIP() << "pdftotext is not installed";
    EXPECT_EQ(printed->simplified().remove(QLatin1Char(' ')), QStringLiteral("000000J1⇒J2:4142"));
}

TEST_F(LogWindows, EveryNewWindowOpensInsideTheWorkspace)
{
    for (int n = 1; n <= 6; ++n) {
        newWindow();
        const QRect placed = area.activeSubWindow()->geometry();
        EXPECT_TRUE(area.viewport()->rect().contains(placed)) << n;
    }
}

TEST_F(LogWindows, AnUnknownModeOrAClosedWindowShowNothingAndStillFinish)
{
    setData(j1A);
    newWindow(QStringLiteral("kept\r\n"));
    int finished = 0;
    commands.RenderMonitorLog(1, 0, [&] { ++finished; });
    EXPECT_TRUE(text(newest()).startsWith(QStringLiteral("kept\n")));
    EXPECT_EQ(finished, 1);
    closeWindow(1); // the capture's window, before processing
    commands.ProcessCapturedData(1, 1, [&](bool) { ++finished; });
    EXPECT_EQ(finished, 2);
    EXPECT_TRUE(QFile::exists(renderedText));
}

TEST_F(LogWindows, WindowMenuTilesAndListsTheWindows)
{
    QMenu menu;
    WindowMenuItems items;
    for (QAction **item : {&items.cascade, &items.tileHorizontal, &items.tileVertical, &items.arrangeIcons})
        *item = menu.addAction(QString());
    WindowMenu windowMenu(area, menu, items);
    for (int i = 0; i < 3; ++i)
        newWindow();
    const QList<QMdiSubWindow *> subs = area.subWindowList(QMdiArea::CreationOrder);
    subs[1]->setWindowTitle(QStringLiteral("/logs/R&D.txt")); // "&" shown, no mnemonic of its own
    windowMenu.updateWindowList();
    windowMenu.updateWindowList(); // rebuilt, not added twice
    QStringList entries;
    for (QAction *a : menu.actions())
        entries << (a->isCheckable() ? a->text() + (a->isChecked() ? QStringLiteral("*") : QString()) : QString());
    entries.removeAll(QString());
    EXPECT_EQ(entries, (QStringList{QStringLiteral("&1 モニターログ"), QStringLiteral("&2 /logs/R&&D.txt"),
                                    QStringLiteral("&3 モニターログ*")}));
    EXPECT_EQ(menu.actions().size(), 4 + 1 + 3);
    menu.actions()[5]->trigger();
    EXPECT_EQ(area.activeSubWindow(), subs[0]);
}

} // namespace
