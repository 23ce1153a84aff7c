#pragma once

#include "platform/settingsstore.h"

#include <QMainWindow>

class QAction;
class QFrame;
class QLabel;

namespace ferrox {

class Dialogs;
class EditorData;
class LogTextView;

// The capture data editor "frmModify": the current stream as hexadecimal
// text in "RTModify" under the column header "Label1", and the menu
// "mnuFile" with "mnuOpen" (show the data again), "mnuDataSave" (store
// the text as the current data) and "mnuEnd".
//
// It opens where "MainLeft_m", "MainTop_m", "MainWidth_m" and
// "MainHeight_m" say and stores them when it closes, unless minimized.
// A store replaces the current data through EditorData only when the
// whole text was read; closing after a store has it reloaded.
//
// Application modal; deletes itself when closed. folder is the program
// folder with its trailing separator.
class ModifyWindow : public QMainWindow
{
    Q_OBJECT
public:
    ModifyWindow(EditorData &data, ProgramSettings settings, Dialogs &dialogs, QString folder,
                 QWidget *parent = nullptr);

    LogTextView *textView() const { return m_view; }

    // mnuOpen: the current data written to "rs_temp.rsm" and shown.
    void openView();
    // mnuDataSave.
    void storeText();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void layOut();

    EditorData &m_data;
    ProgramSettings m_settings;
    Dialogs &m_dialogs;
    QString m_folder;
    bool m_stored = false;
    QFrame *m_upperLine = nullptr;
    QFrame *m_lowerLine = nullptr;
    QLabel *m_header = nullptr;
    LogTextView *m_view = nullptr;
    QAction *m_store = nullptr;
};

} // namespace ferrox
