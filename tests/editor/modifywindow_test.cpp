// The editor window: where it opens, what a store changes and what it
// leaves alone, and what closing stores and reloads.
#include "editor/editorstore.h"
#include "editor/texts.h"
#include "editor/ui/modifywindow.h"

#include "link/linktesting.h"
#include "platform/ui/appearance.h"
#include "support/fakedialogs.h"
#include "views/ui/logtextview.h"

#include <QAction>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace ferrox;
using namespace ferrox::test;

namespace {

class FakeEditorData : public EditorData
{
public:
    CaptureBuffer captureBuffer() const override { return capture; }
    bool replaceStream(const CaptureBuffer &edited) override
    {
        ++replaced;
        if (refuse)
            return false;
        capture = edited;
        return true;
    }
    void reloadStream() override { ++reloaded; }

    CaptureBuffer capture = CaptureBuffer::fromStream(QByteArray::fromHex("A4B18096FF"));
    bool refuse = false;
    int replaced = 0;
    int reloaded = 0;
};

class ModifyWindowTest : public testing::Test
{
protected:
    QPointer<ModifyWindow> openWindow()
    {
        QPointer<ModifyWindow> window = new ModifyWindow(data, ProgramSettings(settingsStore), dialogs, dir.path() + u'/');
        window->show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !window->textView()->isLoading(); }, 3000));
        return window;
    }
    void store(ModifyWindow *window, const QString &text)
    {
        window->textView()->setPlainText(text);
        window->findChild<QAction *>(QStringLiteral("mnuDataSave"))->trigger();
    }
    void close(QPointer<ModifyWindow> &window)
    {
        window->close();
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }, 3000));
    }
    QString setting(const char *key) const { return settingsStore.program(QLatin1String(key)); }

    QTemporaryDir dir;
    MemorySettingsStore settingsStore;
    FakeDialogs dialogs;
    FakeEditorData data;
};

TEST_F(ModifyWindowTest, OpensWhereStoredShowingTheDataAndStoresItsPlaceOnClose)
{
    settingsStore.values.insert(QStringLiteral("ferrox/Settings2/MainLeft_m"), QStringLiteral("1500"));
    QPointer<ModifyWindow> window = openWindow();
    EXPECT_EQ(window->pos(), QPoint(twipsToPixelsX(1500, window), twipsToPixelsY(1000, window)));
    EXPECT_EQ(window->size(), QSize(twipsToPixelsX(6500, window), twipsToPixelsY(5000, window)));
    EXPECT_EQ(window->textView()->plainText(), QStringLiteral("A4 B1 80 96 FF "));

    window->move(twipsToPixelsX(3000, window), window->y());
    close(window);
    EXPECT_NEAR(setting("MainLeft_m").toDouble(), 3000, 20);
    EXPECT_NE(setting("MainHeight_m"), QStringLiteral("<unset>"));
    EXPECT_EQ(data.reloaded, 0);

    // Minimized, it leaves the stored place alone.
    settingsStore.values.clear();
    window = openWindow();
    window->showMinimized();
    close(window);
    EXPECT_EQ(setting("MainLeft_m"), QStringLiteral("<unset>"));
}

TEST_F(ModifyWindowTest, OnlyAWholeStoreReplacesTheDataAndClosingThenReloadsIt)
{
    const struct {
        QString text;
        QString message;
        MessageIcon icon;
        QString title;
    } failures[] = {
        {QStringLiteral("41 42"), editortext::noEndCode(), MessageIcon::Critical, QStringLiteral("ferrox")},
        {QStringLiteral("A4 G1 FF"), editortext::storeFailed(), MessageIcon::None, QString()},
    };
    const CaptureBuffer before = data.capture;
    QPointer<ModifyWindow> window = openWindow();
    for (const auto &row : failures) {
        dialogs.messages.clear();
        store(window, row.text);
        ASSERT_EQ(dialogs.messages.size(), 1);
        EXPECT_EQ(dialogs.messages[0].text, row.message);
        EXPECT_EQ(dialogs.messages[0].icon, row.icon);
        EXPECT_EQ(dialogs.messages[0].title, row.title);
    }
    // The data owner could not take it (rs_data.dat unwritable).
    data.refuse = true;
    store(window, QStringLiteral("A4 B1 FF"));
    EXPECT_EQ(data.replaced, 1);
    EXPECT_EQ(data.capture, before);
    EXPECT_EQ(window->textView()->plainText(), QStringLiteral("A4 B1 FF"));

    data.refuse = false;
    store(window, QStringLiteral("a4 b1\n80 96 FF 41"));
    EXPECT_EQ(data.capture.stream(), QByteArray::fromHex("A4B18096FF41"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->textView()->isLoading(); }, 3000));
    EXPECT_EQ(window->textView()->plainText(), QStringLiteral("A4 B1 80 96 FF "));
    EXPECT_EQ(data.reloaded, 0);
    close(window);
    EXPECT_EQ(data.reloaded, 1);
}

} // namespace
