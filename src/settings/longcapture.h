#pragma once

#include "platform/settingsstore.h"

#include <QDateTime>
#include <QString>

namespace ferrox {

// The window's long capture, a setting of the program's own (kept in the
// group "LongCapture", never in "Settings2"): with `on`, Start captures
// into a series of numbered data files instead of the buffer, with the
// engine ferrox-cli's --split-bytes uses.
struct LongCaptureSettings
{
    // A full buffer: the largest piece of a split capture.
    static constexpr qint32 LargestFile = 262144;

    bool on = false;
    // The most stream bytes a file holds (two per monitored byte), as
    // --split-bytes N: 2 to a full buffer.
    qint32 fileBytes = LargestFile;
    // The newest files kept, as --files K; 0 keeps them all.
    int keepFiles = 0;
    // Where the series go; empty: the program folder.
    QString folder;
    // "自動再接続": after a lost link, wait for the device to come back and
    // go on in the next file (--resume).
    bool reconnect = false;

    bool operator==(const LongCaptureSettings &) const = default;
};

// The store's texts, each read as the others of the program are: a value
// that does not convert (a hand-edited store) is the default.
LongCaptureSettings storedLongCapture(const SettingsStore &store);
void storeLongCapture(SettingsStore &store, const LongCaptureSettings &settings);

// The name of the series a long capture begun at `start` writes:
// "long-YYYYMMDD-HHMMSS.dat" in the chosen folder (appFolder, ending with
// a separator, for none), so a new run never meets an earlier run's files;
// its pieces are "long-YYYYMMDD-HHMMSS-00001.dat", ...
QString longCaptureSeries(const LongCaptureSettings &settings, const QString &appFolder, const QDateTime &start);

} // namespace ferrox
