// The frame view: rows, colours, filter bar, find, highlight rules kept in
// our own settings group, saving, and the chart's click going to a frame.
#include "framestesting.h"

#include "frames/ui/framewindow.h"
#include "frames/ui/highlightpanel.h"
#include "frames/ui/highlightrules.h"
#include "frames/ui/responsechartwidget.h"
#include "support/fakedialogs.h"
#include "support/fakestores.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QTableView>
#include <QTemporaryDir>

using namespace ferrox;
using namespace ferrox::test;
using namespace ferrox::testing;

namespace {

class FrameView : public ::testing::Test
{
protected:
    FrameWindow &window()
    {
        if (!m_window) {
            const TimedStream stream = modbusFindings();
            m_window = std::make_unique<FrameWindow>(stream.bytes, stream.times, FramerOptions {}, dialogs, program,
                                                     status, QStringLiteral("modbus-rtu"));
        }
        return *m_window;
    }
    QString cell(int row, int column) { return window().model()->index(row, column).data().toString(); }
    // The frames shown, in row order: "3102".
    std::string shown()
    {
        std::string frames;
        for (int row = 0; row < window().model()->rowCount(); ++row)
            frames += std::to_string(window().model()->frameAtRow(row));
        return frames;
    }
    template<typename T>
    T *child(const char *name) { return window().findChild<T *>(QLatin1String(name)); }

    FakeDialogs dialogs;
    MemorySettingsStore settings;
    ProgramSettings program {settings};
    RecordingStatus status;
    std::unique_ptr<FrameWindow> m_window;
};

} // namespace

TEST_F(FrameView, ShowsOneRowPerFrameWithItsColumns)
{
    ASSERT_EQ(window().model()->rowCount(), 5);
    // The texts are the frame format's (FrameFormat.TextNamesThePair…); here, each in its column.
    EXPECT_EQ(cell(1, FrameTableModel::Direction), QStringLiteral("J1←J2"));
    EXPECT_EQ(cell(3, FrameTableModel::Verdict), QStringLiteral("例外: 例外コード02 ILLEGAL DATA ADDRESS"));
    EXPECT_TRUE(window().model()->index(3, 0).data(Qt::BackgroundRole).isValid()) << "an exception stands out";
}

// Finding the failures and the slowest answer: the verdict near the front
// with its whole text as a tooltip, and the columns sorting.
TEST_F(FrameView, TheVerdictShowsWholeAsATooltipAndColumnsSort)
{
    const QModelIndex exception = window().model()->index(3, FrameTableModel::Verdict);
    EXPECT_EQ(exception.data(Qt::ToolTipRole).toString(), QStringLiteral("例外: 例外コード02 ILLEGAL DATA ADDRESS"));
    window().table()->sortByColumn(FrameTableModel::Response, Qt::DescendingOrder);
    EXPECT_EQ(shown(), "31024") << "the slowest answer first, frames without one last";
    EXPECT_EQ(window().model()->rowOfFrame(1), 1);
    window().table()->sortByColumn(FrameTableModel::Verdict, Qt::DescendingOrder);
    EXPECT_EQ(shown(), "43012");
    window().table()->sortByColumn(FrameTableModel::Length, Qt::AscendingOrder);
    EXPECT_EQ(shown(), "30241");
}

TEST_F(FrameView, TheFilterBarChoosesRowsBySideAndVerdict)
{
    child<QComboBox>("Combo_FrameDirection")->setCurrentIndex(2);
    EXPECT_EQ(window().model()->rowCount(), 2);
    child<QCheckBox>("Check_FrameFailedOnly")->setChecked(true);
    EXPECT_EQ(window().model()->rowCount(), 0) << "an exception response is no failure";
}

// The kinds as `decode --only` takes them, and patterns typed as people
// type them: any case of "hex:", a last odd digit, a mistake told.
TEST_F(FrameView, TheFilterTakesKindsAndSaysWhatItCannotRead)
{
    auto *kind = child<QComboBox>("Combo_FrameKind");
    auto *pattern = child<QLineEdit>("Text_FramePattern");
    kind->setCurrentText(QStringLiteral("exceptions"));
    EXPECT_EQ(shown(), "3");
    kind->setCurrentText(QStringLiteral("crcs"));
    EXPECT_EQ(window().note(), QStringLiteral("種類として読めません: crcs"));
    kind->setCurrentIndex(0);
    EXPECT_EQ(shown(), "01234");
    pattern->setText(QStringLiteral("HEX:022B"));
    EXPECT_EQ(shown(), "1");
    pattern->setText(QStringLiteral("hex:118")); // 11 then 80 to 8F: the exception's 11 83
    EXPECT_EQ(shown(), "3");
    pattern->setText(QStringLiteral("hex:0G"));
    EXPECT_EQ(window().note(), QStringLiteral("16進数として読めません: hex:0G"));
}

TEST_F(FrameView, FindMovesToTheNextMatchingRowAndWrapsAround)
{
    for (const int row : {0, 2, 4, 0}) {
        EXPECT_TRUE(window().findNext(QStringLiteral("要求")));
        EXPECT_EQ(window().table()->currentIndex().row(), row);
    }
    EXPECT_TRUE(window().findNext(QStringLiteral("83 02"))) << "the hex column as shown";
    EXPECT_EQ(window().table()->currentIndex().row(), 3);
    EXPECT_FALSE(window().findNext(QStringLiteral("hex:FFEE")));
    EXPECT_EQ(window().note(), QStringLiteral("見つかりません"));
}

// The decoder and the gap chosen are the next view's.
TEST_F(FrameView, TheNextViewTakesTheDecoderAndGapChosenLast)
{
    window();
    child<QComboBox>("Combo_FrameDecoder")->setCurrentText(QStringLiteral("stx-etx"));
    window().setGap(QStringLiteral("2.5"));
    const TimedStream stream = modbusFindings();
    const FrameWindow next(stream.bytes, stream.times, FramerOptions {}, dialogs, program, status);
    EXPECT_EQ(next.findChild<QComboBox *>(QStringLiteral("Combo_FrameDecoder"))->currentText(), QStringLiteral("stx-etx"));
    EXPECT_EQ(next.model()->frames().gapMicros, 2500);
    window().setGap(QStringLiteral("nan"));
    EXPECT_EQ(window().note(), QStringLiteral("区切りの間隔は0～60000msで指定してください: nan"));
}

// How the window stores a rule: the case below.
TEST_F(FrameView, StoredHighlightRulesReadBackAndOneThatCannotBeReadIsSkipped)
{
    settings.values.insert(QStringLiteral("ferrox/FrameHighlights/Count"), QStringLiteral("2"));
    settings.values.insert(QStringLiteral("ferrox/FrameHighlights/Rule1"), QStringLiteral("hex:8302|#80ff80"));
    settings.values.insert(QStringLiteral("ferrox/FrameHighlights/Rule2"), QStringLiteral("hex:|nocolour"));
    const QList<HighlightRule> rules = loadHighlightRules(settings);
    ASSERT_EQ(rules.size(), 1);
    EXPECT_EQ(rules.at(0).bytes, BytePattern(QByteArray::fromHex("8302")));
}

// Rules are listed beside the table, edited and removed there, and never
// twice; each is stored in our own settings group and colours its rows.
TEST_F(FrameView, HighlightRulesAreListedEditedAndRemovedInTheWindow)
{
    auto *list = child<QListWidget>("List_FrameHighlights");
    child<QLineEdit>("Text_FramePattern")->setText(QStringLiteral("A|B"));
    window().highlightPattern(QColor(0x80, 0xFF, 0x80));
    window().highlightPattern(QColor(0x80, 0xFF, 0x80));
    ASSERT_EQ(list->count(), 1) << "a second press adds no second rule";
    EXPECT_EQ(loadHighlightRules(settings).value(0).text, QStringLiteral("A|B")) << "a pattern holding | reads back";
    child<QLineEdit>("Text_FramePattern")->clear();
    list->item(0)->setText(QStringLiteral("hex:118"));
    EXPECT_EQ(window().model()->index(3, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(0x80, 0xFF, 0x80));
    EXPECT_FALSE(window().model()->index(1, 0).data(Qt::BackgroundRole).isValid());
    EXPECT_EQ(settings.values.value(QStringLiteral("ferrox/FrameHighlights/Rule1")), QStringLiteral("hex:118|#80ff80"));
    list->item(0)->setText(QStringLiteral("hex:zz"));
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("hex:118")) << "an unreadable edit keeps the rule";
    window().highlights()->remove(0);
    EXPECT_EQ(list->count(), 0);
    EXPECT_TRUE(loadHighlightRules(settings).isEmpty());
    EXPECT_NE(window().model()->index(3, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(0x80, 0xFF, 0x80));
}

TEST_F(FrameView, AClickOnAChartDotSelectsItsFrameEvenWhenFilteredOut)
{
    child<QComboBox>("Combo_FrameDirection")->setCurrentIndex(1);
    QList<ChartItem> dots;
    for (const ChartItem &item : window().chart()->chart().items) {
        if (item.kind == ChartItem::Kind::Dot)
            dots << item;
    }
    ASSERT_EQ(dots.size(), 2);
    emit window().chart()->frameClicked(dots.at(1).frame);
    EXPECT_EQ(window().model()->frameAtRow(window().table()->currentIndex().row()), 3);
    EXPECT_EQ(child<QComboBox>("Combo_FrameDirection")->currentIndex(), 0);
}

TEST_F(FrameView, TheChartIsSavedAsPngOrSvgByTheNamesEnding)
{
    QTemporaryDir dir;
    dialogs.chooseFile(dir.filePath(QStringLiteral("times.svg")));
    EXPECT_TRUE(window().saveChart());
    dialogs.chooseFile(dir.filePath(QStringLiteral("times.txt")));
    EXPECT_TRUE(window().saveChart());
    QFile svg(dir.filePath(QStringLiteral("times.svg")));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    EXPECT_TRUE(svg.readAll().contains("<svg"));
    QFile png(dir.filePath(QStringLiteral("times.txt.png")));
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    EXPECT_EQ(png.read(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
}

// As the program's other saves: a file is replaced only when the user
// agrees, the name the chart gets is the one asked about, and the data
// file being shown and its arrival times are never replaced.
TEST_F(FrameView, SavesAskBeforeReplacingAFileAndNeverReplaceTheShownData)
{
    QTemporaryDir dir;
    const QString data = writeFile(dir.filePath(QStringLiteral("mb.dat")), "data");
    const QString times = writeFile(data + QStringLiteral(".times"), "times");
    const QString text = writeFile(dir.filePath(QStringLiteral("old.txt")), "old");
    const QString chart = writeFile(dir.filePath(QStringLiteral("old.txt.png")), "old");
    window().setShownDataFiles({data});
    const QString question = QStringLiteral("ファイルが存在します。上書きしますか？");

    dialogs.chooseFile(text);
    dialogs.answerNextMessage(MessageAnswer::Cancel);
    EXPECT_FALSE(window().saveShownFrames());
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages.at(0).text, question);
    dialogs.chooseFile(text); // the chart's name becomes old.txt.png
    dialogs.answerNextMessage(MessageAnswer::Cancel);
    EXPECT_FALSE(window().saveChart());
    EXPECT_EQ(dialogs.messages.size(), 2);
    EXPECT_EQ(readFile(text), "old");
    EXPECT_EQ(readFile(chart), "old");

    // The data file itself: AppTest.TheFrameViewKnowsTheDataFilesItShows.
    dialogs.chooseFile(times);
    EXPECT_FALSE(window().saveShownFrames());
    EXPECT_EQ(dialogs.messages.constLast().text,
              QStringLiteral("表示中のモニターデータのファイルには保存できません。別の名前を指定してください。\n") + times);
    EXPECT_EQ(readFile(times), "times");

    dialogs.chooseFile(text);
    dialogs.answerNextMessage(MessageAnswer::Ok);
    EXPECT_TRUE(window().saveShownFrames());
    EXPECT_TRUE(readFile(text).startsWith("区切りの間隔"));
}

// Labels are drawn 12 pixels high: a chart shrunk to a small window made
// their decimal points look like commas.
TEST_F(FrameView, TheChartIsNeverDrawnSmallerThanItsOwnSize)
{
    window().resize(640, 480);
    window().show();
    window().layout()->activate();
    EXPECT_GE(window().chart()->scale(), 1.0);
}

// A file opened from a split capture's series shows its series a few files
// at a time; a lost link is a grey row with its start and end between the
// frames of the two files, and the window moves by a file.
TEST_F(FrameView, ASeriesShowsItsLostLinkBetweenTheFilesFrames)
{
    qputenv("TZ", "UTC");
    QTemporaryDir dir;
    const struct { const char *name; const char *times; } files[] = {
        {"long-00001.dat", "2026-12-07T10:00:00.000000+00:00\n0\t1000\n"},
        {"long-00002.dat", "2026-12-07T10:00:00.000000+00:00\n0\t5000\n"},
        {"long-00003.dat", "2026-12-07T10:00:20.000000+00:00\nlink-lost\t2026-12-07T10:00:10.000000+00:00\n0\t1000\n"},
        {"long-00004.dat", "2026-12-07T10:00:20.000000+00:00\n0\t9000\n"},
    };
    for (const auto &file : files) {
        writeFile(dir.filePath(QLatin1String(file.name)), byJ1("Q") + endCode());
        writeFile(dir.filePath(QLatin1String(file.name) + QStringLiteral(".times")), file.times);
    }
    ASSERT_TRUE(window().showSeriesOf(dir.filePath(QStringLiteral("long-00001.dat"))));
    ASSERT_EQ(window().model()->rowCount(), 4); // three frames and the break
    EXPECT_EQ(window().model()->frameAtRow(2), -1);
    EXPECT_EQ(cell(2, FrameTableModel::Time), QStringLiteral("10.000000"));
    EXPECT_EQ(cell(2, FrameTableModel::Summary),
              QStringLiteral("リンク断　開始 2026-12-07T10:00:10.000000+00:00　終了 2026-12-07T10:00:20.000000+00:00（10.000000 秒）"));
    EXPECT_EQ(cell(3, FrameTableModel::Time), QStringLiteral("20.001000"));
    EXPECT_TRUE(window().moveSeries(2));
    EXPECT_EQ(cell(0, FrameTableModel::Summary).left(4), QStringLiteral("リンク断"));
    EXPECT_EQ(cell(2, FrameTableModel::Time), QStringLiteral("20.009000"));
}

TEST_F(FrameView, AFileOfNoSeriesStaysAsItIs)
{
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("long-00001.dat")), byJ1("Q") + endCode());
    EXPECT_FALSE(window().showSeriesOf(dir.filePath(QStringLiteral("long-00001.dat"))));
    EXPECT_EQ(window().model()->rowCount(), 5);
}
