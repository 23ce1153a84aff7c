// The editor window: where it opens, what a store changes and what it
// leaves alone, and what closing stores and reloads.
#include "editor/editorstore.h"
#include "editor/texts.h"
#include "editor/ui/modifywindow.h"

#include "support/fakestores.h"
#include "platform/ui/appearance.h"
#include "support/fakedialogs.h"
#include "views/ui/logtextview.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace ferrox;
using namespace ferrox::test;

namespace {

class ModifyWindowTest : public testing::Test, public EditorData
{
protected:
    // EditorData: the current data.
    CaptureBuffer captureBuffer() const override { return capture; }
    bool replaceStream(const CaptureBuffer &edited) override
    {
        ++replaced;
        capture = edited;
        return true;
    }
    void reloadStream() override { ++reloaded; }

    void openWindow()
    {
        window = new ModifyWindow(*this, ProgramSettings(settings), dialogs, dir.path() + u'/');
        window->show();
        EXPECT_TRUE(viewShown());
    }
    bool viewShown() { return QTest::qWaitFor([&] { return !window->textView()->isLoading(); }, 3000); }
    void store(const QString &text)
    {
        window->textView()->setPlainText(text);
        window->findChild<QAction *>(QStringLiteral("mnuDataSave"))->trigger();
    }
    bool closed()
    {
        window->close();
        return QTest::qWaitFor([&] { return window.isNull(); }, 3000);
    }

    QTemporaryDir dir;
    MemorySettingsStore settings;
    FakeDialogs dialogs;
    CaptureBuffer capture = CaptureBuffer::fromStream(QByteArray::fromHex("A4B18096FF"));
    int replaced = 0, reloaded = 0;
    QPointer<ModifyWindow> window;
};

TEST_F(ModifyWindowTest, OnlyAWholeStoreReplacesTheDataAndClosingReloadsItAndStoresThePlace)
{
    settings.values.insert(QStringLiteral("ferrox/Settings2/MainLeft_m"), QStringLiteral("1500"));
    openWindow();
    EXPECT_EQ(QKeySequence::mnemonic(window->findChild<QMenu *>(QStringLiteral("mnuFile"))->title()),
              QKeySequence(Qt::ALT | Qt::Key_F));
    EXPECT_EQ(QRect(window->pos(), window->size()), QRect(twipsToPixelsX(1500, window), twipsToPixelsY(1000, window),
                                                          twipsToPixelsX(6500, window), twipsToPixelsY(5000, window)));
    const struct { const char16_t *text; QString message, title; } refusals[] = {
        {u"41 42", editortext::noEndCode(), QStringLiteral("ferrox")},
        {u"A4 G1 FF", editortext::storeFailed(), QString()}, // an empty title bar
    };
    for (const auto &refusal : refusals) {
        store(QString::fromUtf16(refusal.text));
        EXPECT_EQ(dialogs.messages.last().text, refusal.message);
        EXPECT_EQ(messageTitle(dialogs.messages.last().title), refusal.title);
    }
    EXPECT_EQ(replaced, 0);
    store(QStringLiteral("a4 b1\n80 96 FF 41"));
    EXPECT_EQ(capture.stream(), QByteArray::fromHex("A4B18096FF41"));
    ASSERT_TRUE(viewShown());
    EXPECT_EQ(window->textView()->plainText(), QStringLiteral("A4 B1 80 96 FF "));
    window->move(twipsToPixelsX(3000, window), window->y());
    ASSERT_TRUE(closed());
    EXPECT_EQ(reloaded, 1);
    EXPECT_NEAR(settings.program(QStringLiteral("MainLeft_m")).toDouble(), 3000, 20);

    // Minimized, it leaves the stored place alone.
    settings.values.clear();
    openWindow();
    window->showMinimized();
    ASSERT_TRUE(closed());
    EXPECT_EQ(settings.program(QStringLiteral("MainLeft_m")), QStringLiteral("<unset>"));
}

} // namespace
