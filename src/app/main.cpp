// ferrox: the PC program of the RS-232 line monitor board.
#include "app/windowwiring.h"
#include "app/startup.h"
#include "app/base/texts.h"
#include "app/ui/desktopstart.h"
#include "app/ui/logwindowshookup.h"
#include "app/ui/mainwindow.h"

#include "files/filenamebytes.h"
#include "platform/process.h"
#include "version/programinfo.h"
#include "platform/qtserialport.h"
#include "platform/qtsettingsstore.h"
#include "platform/terminationwatch.h"
#include "platform/ui/qtdialogs.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

#include <cstdio>

int main(int argc, char **argv)
{
    using namespace ferrox;
    // A SIGTERM that comes while the window is still being built waits for
    // the watch below: it ends the program in order once the window runs.
    TerminationWatch::holdSignals();
    // --help and --version answer before the toolkit looks for a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << decodeFileName(QByteArray(argv[i])); // a file name is bytes, UTF-8 or not
    const WindowCommandLine commandLine = parseWindowCommandLine(arguments);
    if (commandLine.leave)
        return commandLine.status;
    const std::unique_ptr<QApplication> toolkit = startToolkit(argc, argv);
    QApplication &app = *toolkit;
    QApplication::setApplicationName(applicationTitle());
    QApplication::setOrganizationName(applicationTitle());
    prepareDesktop(app);

    // A second instance hands its file to the running one and leaves without
    // a word. When no window takes it, the lock's holder is no window of
    // ours: this start becomes the window, under the lock when it is free by
    // then, and says why it runs without it otherwise.
    SingleInstance instance;
    if (!instance.acquired()) {
        if (handOverToRunningWindow(app, commandLine.file))
            return 0;
        if (!instance.tryAgain())
            std::fputs(qPrintable(apptext::lockUnusable(instance.lockPath())), stderr);
    }

    // The first message box may come before the main window exists.
    QtDialogs dialogs;
    if (!ensureTempFolder(dialogs, TempFolder()))
        return 1;

    // Data files live in the program folder, whatever folder we were started from.
    QDir::setCurrent(AppFolder());

    QtSettingsStore settingsStore;
    // Said once, after the step that stored: never inside it.
    settingsStore.onWriteFailure([&dialogs](const QString &file) {
        QTimer::singleShot(0, [&dialogs, file] {
            dialogs.inform(apptext::settingsUnwritable(QDir::toNativeSeparators(file)), MessageIcon::Exclamation);
        });
    });
    MainWindow window(settingsStore, dialogs);
    dialogs.setParent(&window);
    window.setWindowTitle(mainTitleText());
    QtSerialPort linkPort([&settingsStore](int portNumber) { return devicePathForPort(portNumber, &settingsStore); });
    WindowWiring wiring(window, linkPort, AppFolder());
    window.show();
    // Not needed for the window to appear: set just after.
    QTimer::singleShot(0, &window, setProgramIcon);
    acceptHandOvers(window, wiring.logWindows().monitorLog(), wiring.logWindows().fileCommands(), commandLine.file);

    // SIGTERM, SIGHUP and SIGINT end the program as closing the window
    // does: a streaming board stopped, the port closed, geometry stored.
    TerminationWatch termination;
    QString watchError;
    if (termination.install(watchError)) {
        QObject::connect(&termination, &TerminationWatch::terminationRequested, &window, [&window] {
            window.close();
            // Also out of an open message box's loop.
            QCoreApplication::exit(0);
        });
    }

    // The link port opens and the first connection check runs once the
    // window shows.
    wiring.startUp();

    return app.exec();
}
