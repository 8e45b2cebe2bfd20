#include "settings/SettingsFileStore.h"

#include "resources/Latin1.h"

#include <QFileInfo>
#include <QLockFile>
#include <QSettings>

#include <limits>

namespace vostrel {
namespace {

QString Key(std::string_view section, std::string_view name)
{
    return FromLatin1(section) + u'/' + FromLatin1(name);
}

// A text as stored; a hand-edited value with unquoted commas reads back as
// a list, which is joined again rather than lost.
QString StoredText(const QVariant& value)
{
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

} // namespace

SettingsFileStore::SettingsFileStore(QString organisation, QString application)
    : m_organisation(std::move(organisation)), m_application(std::move(application))
{
}

std::int32_t SettingsFileStore::ReadInt(std::string_view section, std::string_view name,
                                        std::int32_t fallback)
{
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, m_organisation, m_application);
    const QVariant value = settings.value(Key(section, name));
    if (!value.isValid())
        return fallback;
    bool whole = false;
    const qlonglong number = StoredText(value).trimmed().toLongLong(&whole);
    if (!whole || number < std::numeric_limits<std::int32_t>::min() ||
        number > std::numeric_limits<std::int32_t>::max())
        return fallback;
    return static_cast<std::int32_t>(number);
}

std::string SettingsFileStore::ReadText(std::string_view section, std::string_view name,
                                        std::string_view fallback)
{
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, m_organisation, m_application);
    const QVariant value = settings.value(Key(section, name));
    if (!value.isValid() || !value.canConvert<QString>())
        return std::string(fallback);
    return ToLatin1(StoredText(value));
}

void SettingsFileStore::WriteInt(std::string_view section, std::string_view name, std::int32_t value)
{
    Write(Key(section, name), value);
}

void SettingsFileStore::WriteText(std::string_view section, std::string_view name, std::string_view value)
{
    Write(Key(section, name), FromLatin1(value));
}

QString SettingsFileStore::Location() const
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, m_organisation, m_application).fileName();
}

void SettingsFileStore::Write(const QString& key, const QVariant& value)
{
    // QSettings saves through a temporary file that replaces the old one in
    // a single rename, under a lock shared with other copies of the program:
    // a crash leaves the old file or the new one. A failed write is ignored
    // and leaves the file as it was.
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, m_organisation, m_application);
    ClearAbandonedLock(settings.fileName());
    settings.setValue(key, value);
    settings.sync();
}

void SettingsFileStore::ClearAbandonedLock(const QString& file)
{
    // A copy killed while it took the lock leaves a lock file that names no
    // process; Qt waits 30 seconds before it counts such a file stale, and
    // the window would hang that long at its next save. A save holds the
    // lock for milliseconds: one older than a few seconds is abandoned.
    if (!QFileInfo::exists(file + ".lock"))
        return;
    QLockFile lock(file + ".lock");
    lock.setStaleLockTime(std::chrono::seconds(3));
    if (lock.tryLock(std::chrono::seconds(5)))
        lock.unlock();
}

} // namespace vostrel
