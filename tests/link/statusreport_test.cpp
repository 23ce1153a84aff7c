#include "link/statusreport.h"

#include <gtest/gtest.h>

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

TEST(ReportStatus, MessageHidesTheBarAndShowsTheText)
{
    RecordingPanel panel;
    panel.visible = true;
    ReportStatus(panel, 1, QStringLiteral("データ処理終了。"), 0);
    EXPECT_FALSE(panel.visible);
    EXPECT_EQ(panel.text, QStringLiteral("データ処理終了。"));
    ReportStatus(panel, 1, QString(), 0);
    EXPECT_EQ(panel.text, QString());
}

TEST(ReportStatus, ProgressShowsDonePercentageAndIgnoresTheText)
{
    RecordingPanel panel;
    ReportStatus(panel, 1, QStringLiteral("ignored"), 65);
    EXPECT_TRUE(panel.visible);
    EXPECT_EQ(panel.value, 35);
    EXPECT_EQ(panel.text, QStringLiteral("35%"));
    ReportStatus(panel, 1, QString(), 100);
    EXPECT_EQ(panel.value, 0);
    EXPECT_EQ(panel.text, QStringLiteral("0%"));
}

TEST(ReportStatus, NegativeRemainingKeepsTheBarInRange)
{
    RecordingPanel panel;
    ReportStatus(panel, 1, QString(), -4);
    EXPECT_EQ(panel.value, 100);
    EXPECT_EQ(panel.text, QStringLiteral("100%"));
}

} // namespace
