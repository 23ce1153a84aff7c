#pragma once

#include "app/ui/mainwindow.h"
#include "platform/qtsettingsstore.h"
#include "support/fakedialogs.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace ferrox::test {

// A main window on a fresh INI file and scripted dialogs.
class AppTest : public testing::Test
{
protected:
    QTemporaryDir dir;
    QString iniPath() const { return dir.filePath(QStringLiteral("ferrox.ini")); }

    // Writes the [Settings2] section as a user or a damaged disk left it.
    void writeSettings(const QByteArray &lines)
    {
        QFile file(iniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Settings2]\n" + lines);
    }

    MainWindow &window()
    {
        if (!m_window) {
            m_store = std::make_unique<QtSettingsStore>(iniPath());
            m_window = std::make_unique<MainWindow>(*m_store, dialogs);
        }
        return *m_window;
    }

    // The stored text of a key, or "<missing>".
    QString stored(const QString &key)
    {
        QtSettingsStore reader(iniPath());
        return reader.GetSetting(QStringLiteral("ferrox"), QStringLiteral("Settings2"), key,
                                 QStringLiteral("<missing>"));
    }

    template<typename T>
    T *find(const QString &objectName)
    {
        T *found = window().findChild<T *>(objectName);
        EXPECT_NE(found, nullptr) << objectName.toStdString();
        return found;
    }

    FakeDialogs dialogs;

private:
    std::unique_ptr<QtSettingsStore> m_store;
    std::unique_ptr<MainWindow> m_window;
};

} // namespace ferrox::test
