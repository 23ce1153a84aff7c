#pragma once

#include "views/logwindowregistry.h"

#include <QMdiArea>
#include <QPointer>

class QWidget;

namespace ferrox {

class DocumentWindow;
class LogTextView;
class StatusPanel;

// The monitor-log windows in the main window's MDI area: makes them for
// the registry and finds the active child window for the File menu.
class LogWindowArea : public LogWindowFactory
{
public:
    LogWindowArea(QMdiArea &area, StatusPanel &status);
    ~LogWindowArea() override;

    LogWindowRegistry &registry() { return m_registry; }
    QMdiArea &mdiArea() const { return *m_area; }

    LogWindow *createLogWindow(qint32 number) override;

    // The active child window (a log window or any other child), or nullptr.
    QWidget *activeChild() const;
    // The text view of the active child, when it is a log window.
    LogTextView *activeTextView() const;
    DocumentWindow *activeLogWindow() const;

    // Direction colours in every log window, open and to come.
    void setDirectionColors(bool on);
    bool directionColors() const { return m_directionColors; }
    // Printouts of a rendering in the direction colours.
    void setPrintColors(bool on) { m_printColors = on; }
    bool printColors() const { return m_printColors; }

private:
    QPointer<QMdiArea> m_area; // may go first, taking its windows with it
    LogWindowRegistry m_registry;
    bool m_directionColors = false;
    bool m_printColors = false;
};

} // namespace ferrox
