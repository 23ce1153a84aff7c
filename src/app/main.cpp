// ferrox: the PC program of the RS-232 line monitor board.
#include "app/session.h"
#include "app/startup.h"
#include "app/ui/desktopstart.h"
#include "app/ui/logwindowshookup.h"
#include "app/ui/mainwindow.h"

#include "platform/process.h"
#include "version/programinfo.h"
#include "platform/qtserialport.h"
#include "platform/qtsettingsstore.h"
#include "platform/terminationwatch.h"
#include "platform/ui/qtdialogs.h"

#include <QApplication>
#include <QDir>

int main(int argc, char **argv)
{
    using namespace ferrox;
    // --help and --version answer before the toolkit looks for a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const WindowCommandLine commandLine = parseWindowCommandLine(arguments);
    if (commandLine.leave)
        return commandLine.status;
    QApplication app(argc, argv);
    QApplication::setApplicationName(applicationTitle());
    QApplication::setOrganizationName(applicationTitle());
    prepareDesktop(app);

    // A second instance hands its file to the running one and leaves without a word.
    const SingleInstance instance;
    if (!instance.acquired())
        return handOverToRunningWindow(app, commandLine.file);

    // The first message box may come before the main window exists.
    QtDialogs dialogs;
    if (!ensureTempFolder(dialogs, TempFolder()))
        return 1;

    // Data files live in the program folder, whatever folder we were started from.
    QDir::setCurrent(AppFolder());

    QtSettingsStore settingsStore;
    MainWindow window(settingsStore, dialogs);
    dialogs.setParent(&window);
    window.setWindowTitle(mainTitleText());
    QtSerialPort linkPort([&settingsStore](int portNumber) { return devicePathForPort(portNumber, &settingsStore); });
    Session session(window, linkPort, AppFolder());
    window.show();
    acceptHandOvers(window, session.logWindows().monitorLog(), commandLine.file);

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
    session.startUp();

    return app.exec();
}
