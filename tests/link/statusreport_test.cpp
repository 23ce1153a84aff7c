#include "platform/statusreport.h"

#include <QList>
#include <gtest/gtest.h>

#include <tuple>

using namespace ferrox;

namespace {

struct RecordingPanel : StatusPanel
{
    QString text = QStringLiteral("old");
    bool visible = false;
    int value = -1;
    void setPanelText(const QString &t) override { text = t; }
    void setProgressVisible(bool v) override { visible = v; }
    void setProgressValue(int v) override { value = v; }
};

// A message hides the bar; progress shows the part done and ignores the text.
TEST(ReportStatus, MessageOrProgress)
{
    const QList<std::tuple<QString, int, bool, int, QString>> cases{
        {QStringLiteral("データ処理終了。"), 0, false, -1, QStringLiteral("データ処理終了。")},
        {QStringLiteral("ignored"), 65, true, 35, QStringLiteral("35%")},
        {QString(), 100, true, 0, QStringLiteral("0%")},
        {QString(), -4, true, 100, QStringLiteral("100%")}, // kept in range
    };
    for (const auto &[text, remaining, visible, value, shown] : cases) {
        RecordingPanel panel;
        panel.visible = !visible;
        ReportStatus(panel, 1, text, remaining);
        EXPECT_EQ(std::tuple(panel.visible, panel.value, panel.text), std::tuple(visible, value, shown)) << remaining;
    }
}

} // namespace
