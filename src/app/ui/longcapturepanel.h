#pragma once

#include "settings/longcapture.h"

#include <QGroupBox>

class QCheckBox;
class QLineEdit;
class QSpinBox;

namespace ferrox {

class MonitorSession;
class SettingsStore;

// The long capture's settings in the settings panel, "Frame_LongCapture":
// its checkable title turns the long capture on ("長時間モニター"), the
// file size "Text_LongFileBytes", the files kept "Text_LongFiles" (0:
// all), the folder "Text_LongFolder" (empty: the program folder) and
// "Check_Reconnect" ("自動再接続"). Each edit is stored at once and written
// into the session, which the long capture reads as Start is pressed.
class LongCapturePanel : public QGroupBox
{
    Q_OBJECT
public:
    explicit LongCapturePanel(QWidget *parent = nullptr);

    // Shows the session's value; from then on each edit goes to the store
    // and the session. Both must outlive the panel's edits.
    void bind(MonitorSession &session, SettingsStore &store);

    QSpinBox *fileBytes() const { return m_fileBytes; }
    QSpinBox *files() const { return m_files; }
    QLineEdit *folder() const { return m_folder; }
    QCheckBox *reconnect() const { return m_reconnect; }

private:
    void show(const LongCaptureSettings &settings);
    LongCaptureSettings value() const;

    QSpinBox *m_fileBytes = nullptr;
    QSpinBox *m_files = nullptr;
    QLineEdit *m_folder = nullptr;
    QCheckBox *m_reconnect = nullptr;
};

} // namespace ferrox
