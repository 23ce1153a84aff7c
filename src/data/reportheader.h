#pragma once

#include "version/programinfo.h"

#include <QByteArray>
#include <QString>

namespace ferrox {

// The settings a rendering reports at its top: the settings panel's texts at
// rendering time (not at capture time) and the current data name.
struct ReportHeaderSettings
{
    QString MainTitle = mainTitleText();
    QString dataName;     // CaptureTitle without "現在のモニターデータ : "
    QString port;         // Combo_Com_port's text
    QString pcSpeed;      // Combo_PC_speed's text
    QString monitorSpeed; // Combo_Monitor_speed's text
    QString direction;    // Combo_Direction's text
    bool dataOnly = true; // Data_only selected: 8-bit data, else 9-bit
};

// Removes spaces (U+0020 only) at both ends.
QString trimSpaces(const QString &text);

// Appends the header lines in code page 932. DataByteCount is the number of
// monitored bytes.
void WriteReportHeader(QByteArray &out, const ReportHeaderSettings &settings, qint32 DataByteCount);

} // namespace ferrox
