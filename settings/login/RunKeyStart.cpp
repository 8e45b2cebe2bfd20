#include "settings/login/RunKeyStart.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <utility>

namespace vostrel {
namespace {

const QString kRunKey =
    QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");

} // namespace

RunKeyStart::RunKeyStart(QString executable) : m_executable(std::move(executable))
{
}

bool RunKeyStart::IsOn() const
{
    return QSettings(kRunKey, QSettings::NativeFormat).contains(QFileInfo(m_executable).completeBaseName());
}

bool RunKeyStart::SetOn(bool on)
{
    QSettings run(kRunKey, QSettings::NativeFormat);
    const QString name = QFileInfo(m_executable).completeBaseName();
    if (on)
        run.setValue(name, u'"' + QDir::toNativeSeparators(m_executable) + u'"');
    else
        run.remove(name);
    run.sync();
    return run.status() == QSettings::NoError;
}

} // namespace vostrel
