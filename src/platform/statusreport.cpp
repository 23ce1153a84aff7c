#include "statusreport.h"

#include <algorithm>

namespace ferrox {

StatusPanel::~StatusPanel() = default;

void ReportStatus(StatusPanel &status, qint32 /*panel*/, const QString &text, qint32 remaining)
{
    if (remaining != 0) {
        // A short exchange-mode rendering can report below 0 % remaining.
        const qint32 done = std::clamp(100 - remaining, 0, 100);
        status.setProgressVisible(true);
        status.setProgressValue(done);
        status.setPanelText(QString::number(done) + QLatin1Char('%'));
        return;
    }
    status.setProgressVisible(false);
    status.setPanelText(text);
}

} // namespace ferrox
