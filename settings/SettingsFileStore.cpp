#include "SettingsFileStore.h"

#include <QSettings>

#include <limits>

namespace vostrel {
namespace {

QString Key(std::string_view section, std::string_view name)
{
    return QString::fromLatin1(section.data(), static_cast<qsizetype>(section.size())) + u'/' +
           QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

// The registry on Windows; on Linux an INI file named <application>.conf.
constexpr QSettings::Format StoreFormat()
{
    return QSettings::NativeFormat;
}

} // namespace

SettingsFileStore::SettingsFileStore(QString organisation, QString application)
    : m_organisation(std::move(organisation)), m_application(std::move(application))
{
}

std::int32_t SettingsFileStore::ReadInt(std::string_view section, std::string_view name,
                                        std::int32_t fallback)
{
    const QSettings settings(StoreFormat(), QSettings::UserScope, m_organisation, m_application);
    const QVariant value = settings.value(Key(section, name));
    bool whole = false;
    const qlonglong number = value.toString().trimmed().toLongLong(&whole);
    if (!value.isValid() || !whole || number < std::numeric_limits<std::int32_t>::min() ||
        number > std::numeric_limits<std::int32_t>::max())
        return fallback;
    return static_cast<std::int32_t>(number);
}

std::string SettingsFileStore::ReadText(std::string_view section, std::string_view name,
                                        std::string_view fallback)
{
    const QSettings settings(StoreFormat(), QSettings::UserScope, m_organisation, m_application);
    const QVariant value = settings.value(Key(section, name));
    if (!value.isValid())
        return std::string(fallback);
    return value.toString().toLatin1().toStdString();
}

void SettingsFileStore::WriteInt(std::string_view section, std::string_view name, std::int32_t value)
{
    QSettings settings(StoreFormat(), QSettings::UserScope, m_organisation, m_application);
    settings.setValue(Key(section, name), value);
}

void SettingsFileStore::WriteText(std::string_view section, std::string_view name, std::string_view value)
{
    QSettings settings(StoreFormat(), QSettings::UserScope, m_organisation, m_application);
    settings.setValue(Key(section, name),
                      QString::fromLatin1(value.data(), static_cast<qsizetype>(value.size())));
}

} // namespace vostrel
