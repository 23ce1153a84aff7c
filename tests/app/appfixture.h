#pragma once

#include "app/ui/mainwindow.h"
#include "app/windowwiring.h"
#include "platform/qtsettingsstore.h"
#include "support/fakedialogs.h"
#include "support/inprocessboard.h"
#include "support/testfiles.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace ferrox::test {

// A main window on a fresh INI file and scripted dialogs.
class AppTest : public testing::Test
{
protected:
    QString iniPath() const { return dir.filePath(QStringLiteral("ferrox.ini")); }

    // Writes the [Settings2] section as a user or a damaged disk left it.
    void writeSettings(const QByteArray &lines) { writeFile(iniPath(), "[Settings2]\n" + lines); }

    MainWindow &window()
    {
        if (!m_window) {
            m_store = std::make_unique<QtSettingsStore>(iniPath());
            m_window = std::make_unique<MainWindow>(*m_store, dialogs);
        }
        return *m_window;
    }
    // The next window() is a new one, on the settings as they are now.
    void resetWindow()
    {
        m_window.reset();
        m_store.reset();
    }

    // The window wired anew to the port, its start-up check over.
    bool wireWindow(SerialPort &port)
    {
        wiring.reset();
        wiring = std::make_unique<WindowWiring>(window(), port, dir.path() + u'/');
        bool done = false;
        wiring->startUp([&done] { done = true; });
        return QTest::qWaitFor([&done] { return done; }, 5000);
    }
    // The window wired anew to a board in-process, its start-up check over.
    bool wireToBoard(const BoardConfig &config = {})
    {
        wiring.reset();
        board = std::make_unique<InProcessBoard>(config);
        return wireWindow(board->port());
    }
    void TearDown() override { wiring.reset(); } // before the fixtures' ports go

    // The stored text of a key, or "<missing>".
    QString stored(const QString &key)
    {
        return QtSettingsStore(iniPath()).GetSetting(QStringLiteral("ferrox"), QStringLiteral("Settings2"), key,
                                                     QStringLiteral("<missing>"));
    }

    // What the list does when the user picks an item.
    static void pick(QComboBox *combo, const QString &text)
    {
        const int index = combo->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }

    template<typename T>
    T *find(const QString &objectName)
    {
        T *found = window().findChild<T *>(objectName);
        EXPECT_NE(found, nullptr) << objectName.toStdString();
        return found;
    }

    // Menu items and toolbar buttons by objectName (a button's is its key).
    QAction *menuItem(const QString &objectName) { return find<QAction>(objectName); }
    QAction *toolbarButton(const QString &key) { return find<QAction>(key); }
    QMenu *menu(const QString &objectName) { return find<QMenu>(objectName); }

    QTemporaryDir dir;
    FakeDialogs dialogs;

private:
    std::unique_ptr<QtSettingsStore> m_store;
    std::unique_ptr<MainWindow> m_window;

protected:
    std::unique_ptr<InProcessBoard> board;
    std::unique_ptr<WindowWiring> wiring;
};

} // namespace ferrox::test
