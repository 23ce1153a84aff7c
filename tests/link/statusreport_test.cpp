#include "platform/statusreport.h"
#include "support/fakestores.h"

#include <QList>
#include <gtest/gtest.h>

#include <tuple>

using namespace ferrox;

namespace {

// A message hides the bar; progress shows the part done and ignores the text.
TEST(ReportStatus, MessageOrProgress)
{
    const QList<std::tuple<QString, int, bool, QList<int>, QString>> cases{
        {QStringLiteral("データ処理終了。"), 0, false, {}, QStringLiteral("データ処理終了。")},
        {QStringLiteral("ignored"), 65, true, {35}, QStringLiteral("35%")},
        {QString(), 100, true, {0}, QStringLiteral("0%")},
        {QString(), -4, true, {100}, QStringLiteral("100%")}, // kept in range
    };
    for (const auto &[text, remaining, visible, values, shown] : cases) {
        test::RecordingStatus panel;
        panel.progressVisible = !visible;
        ReportStatus(panel, 1, text, remaining);
        EXPECT_EQ(std::tuple(panel.progressVisible, panel.values, panel.texts), std::tuple(visible, values, QStringList{shown}))
            << remaining;
    }
}

} // namespace
