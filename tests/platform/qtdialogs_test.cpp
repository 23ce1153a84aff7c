#include "platform/ui/qtdialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

using namespace ferrox;

namespace {

// Shows a question box from inside the application's loop, as the window
// program does, and runs `whileOpen` once the box is up.
template<typename Action>
MessageAnswer askInsideTheLoop(MessageButtons buttons, Action whileOpen, QWidget *mainWindow = nullptr,
                               const QString &title = QStringLiteral("上書き確認"))
{
    QtDialogs dialogs(mainWindow);
    MessageAnswer answer = MessageAnswer::Ok;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, whileOpen);
        answer = dialogs.message(QStringLiteral("ファイルが存在します。上書きしますか？"), MessageIcon::Exclamation,
                                 buttons, title);
        QCoreApplication::quit();
    });
    QCoreApplication::exec();
    return answer;
}

void shutDown()
{
    QCoreApplication::exit(0);
}

void click(QMessageBox::StandardButton which)
{
    qobject_cast<QMessageBox *>(QApplication::activeModalWidget())->button(which)->click();
}

} // namespace

TEST(QtDialogs, ABoxEndedByAShutdownIsARefusal)
{
    EXPECT_EQ(askInsideTheLoop(MessageButtons::OkCancel, shutDown), MessageAnswer::Cancel);
    EXPECT_EQ(askInsideTheLoop(MessageButtons::YesNo, shutDown), MessageAnswer::No);
}

// An empty window title would show the program's name on X11.
TEST(QtDialogs, ABoxStaysInFrontOfAModalWindowAndABlankCaptionKeepsItsTitleBarEmpty)
{
    QWidget mainWindow;
    QWidget editor;
    editor.setWindowModality(Qt::ApplicationModal);
    mainWindow.show();
    editor.show();
    QWidget *owner = nullptr;
    QString shown;
    askInsideTheLoop(MessageButtons::Ok, [&owner, &shown] {
        owner = QApplication::activeModalWidget()->parentWidget();
        shown = QApplication::activeModalWidget()->windowTitle();
        click(QMessageBox::Ok);
    }, &mainWindow, BlankCaption);
    EXPECT_EQ(owner, &editor);
    EXPECT_EQ(shown, QStringLiteral(" "));
}
