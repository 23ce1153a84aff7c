#pragma once

#include <QString>

#include <array>

namespace ferrox {

// A window's outer position and size in twips (1/1440 inch), as stored.
struct TwipsGeometry
{
    float left = 1000;
    float top = 1000;
    float width = 6500;
    float height = 6500;

    bool operator==(const TwipsGeometry &) const = default;
};

// The keys a window's geometry is stored under: left, top, width, height.
using GeometryKeys = std::array<QString, 4>;

// The per-user settings store: text values by application, section, key.
// Missing keys give the reader's default. Nothing is cached.
class SettingsStore
{
public:
    virtual ~SettingsStore();
    virtual QString GetSetting(const QString &application, const QString &section,
                               const QString &key, const QString &defaultValue) const = 0;
    virtual void SaveSetting(const QString &application, const QString &section,
                             const QString &key, const QString &value) = 0;
};

// The program's own keys: application "ferrox", section "Settings2".
// Numeric readers convert the stored text and fall back to the default
// when it is no number (a hand-edited or damaged store).
class ProgramSettings
{
public:
    explicit ProgramSettings(SettingsStore &store) : m_store(store) {}

    QString text(const QString &key, const QString &defaultValue) const;
    void save(const QString &key, const QString &value);

    // Single-precision number (window geometry in twips).
    float number(const QString &key, float defaultValue) const;
    void saveNumber(const QString &key, float value);
    // A window's geometry; each value that is no number takes its default.
    TwipsGeometry geometry(const GeometryKeys &keys, const TwipsGeometry &defaults) const;
    void saveGeometry(const GeometryKeys &keys, const TwipsGeometry &geometry);
    // 16-bit integer ("RTS", "DTR").
    qint16 integer(const QString &key, qint16 defaultValue) const;

    SettingsStore &store() const { return m_store; }

private:
    SettingsStore &m_store;
};

} // namespace ferrox
