#pragma once

#include "settings/ProfileStore.h"

#include <QString>
#include <QVariant>

namespace vostrel {

// The store in the user's settings of organisation "Pelmark": the registry
// key Software\Pelmark\<application> on Windows, and the INI file
// $XDG_CONFIG_HOME/Pelmark/<application>.conf elsewhere.
class SettingsFileStore final : public ProfileStore {
public:
    SettingsFileStore(QString organisation, QString application);

    std::int32_t ReadInt(std::string_view section, std::string_view name, std::int32_t fallback) override;
    std::string ReadText(std::string_view section, std::string_view name, std::string_view fallback) override;
    void WriteInt(std::string_view section, std::string_view name, std::int32_t value) override;
    void WriteText(std::string_view section, std::string_view name, std::string_view value) override;
    // The file (or registry key) that holds the settings.
    QString Location() const;

private:
    void Write(const QString& key, const QVariant& value);
    static void ClearAbandonedLock(const QString& file);

    QString m_organisation;
    QString m_application;
};

} // namespace vostrel
