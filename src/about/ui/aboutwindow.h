#pragma once

#include "about/abouttexts.h"

#include <QDialog>

class QLabel;

namespace ferrox {

// The About window "frmAbout": the icon "picIcon", the labels "lblTitle",
// "lblVersion", "lblDescription", "lblDisclaimer", the buttons "Command1"
// (opens the support page in the default browser; its outcome is not
// reported) and "cmdOK" (closes). Its own load sets aboutLoadTexts().
// Deletes itself when closed.
class AboutWindow : public QDialog
{
    Q_OBJECT
public:
    explicit AboutWindow(QWidget *owner);

    void setTexts(const AboutTexts &texts);

signals:
    void iconDoubleClicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *m_icon = nullptr;
    QLabel *m_title = nullptr;
    QLabel *m_version = nullptr;
    QLabel *m_description = nullptr;
    QLabel *m_support = nullptr;
};

// "mnuHelpAbout" and what lasts between showings: the first window shows
// the texts prepared at start-up until it is closed; every later one the
// texts of its own load. A double-click on the icon reveals the editor's
// menu entry and closes the window.
class AboutBox : public QObject
{
    Q_OBJECT
public:
    explicit AboutBox(QWidget *mainWindow);

    // Shows the window application modal, owned by the main window.
    AboutWindow *show();

signals:
    // The editor's menu entry and its separator are to show from now on.
    void editorRevealed();

private:
    QWidget *m_mainWindow;
    bool m_closedOnce = false;
};

} // namespace ferrox
