#include "platform/statusreport.h"
#include "support/fakestores.h"

#include <QList>
#include <gtest/gtest.h>

using namespace ferrox;

namespace {

TEST(ReportStatus, MessageOrProgress)
{
    const struct { QString text; int remaining; bool visible; QList<int> values; QString shown; } cases[] = {
        {QStringLiteral("データ処理終了。"), 0, false, {}, QStringLiteral("データ処理終了。")},
        {QStringLiteral("ignored"), 65, true, {35}, QStringLiteral("35%")},
        {QString(), 100, true, {0}, QStringLiteral("0%")},
        {QString(), -4, true, {100}, QStringLiteral("100%")}, // kept in range
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.remaining);
        test::RecordingStatus panel;
        panel.progressVisible = !c.visible;
        ReportStatus(panel, 1, c.text, c.remaining);
        EXPECT_EQ(panel.progressVisible, c.visible);
        EXPECT_EQ(panel.values, c.values);
        EXPECT_EQ(panel.texts, QStringList{c.shown});
    }
}

} // namespace
