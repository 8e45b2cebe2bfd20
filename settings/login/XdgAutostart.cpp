#include "settings/login/XdgAutostart.h"

#include "resources/DesktopId.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>
#include <utility>

namespace vostrel {
namespace {

// One argument of an Exec line: in double quotes when it holds a reserved
// character, with the characters quoting gives a meaning escaped; then, as
// any string of a desktop entry, with its backslashes doubled; and "%"
// doubled so that it is not read as a field code.
QString ExecArgument(const QString& argument)
{
    static const QString kReserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString quoted = argument;
    if (std::any_of(argument.begin(), argument.end(), [](QChar c) { return kReserved.contains(c); })) {
        quoted.clear();
        for (const QChar c : argument) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                quoted += u'\\';
            quoted += c;
        }
        quoted = u'"' + quoted + u'"';
    }
    return quoted.replace(u'\\', QStringLiteral("\\\\")).replace(u'%', QStringLiteral("%%"));
}

// A string value: no line breaks, no leading space, backslashes doubled.
QString Value(QString text)
{
    return text.replace(u'\\', QStringLiteral("\\\\")).replace(u'\n', QStringLiteral("\\n"));
}

// Whether the entry's [Desktop Entry] group says Hidden=true: an entry the
// user deleted, in the freedesktop.org autostart rules.
bool SaysHidden(QIODevice& entry)
{
    bool inGroup = false;
    while (!entry.atEnd()) {
        const QByteArray line = entry.readLine().trimmed();
        if (line.startsWith('[')) {
            inGroup = line == "[Desktop Entry]";
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (inGroup && equals > 0 && line.left(equals).trimmed() == "Hidden" &&
            line.mid(equals + 1).trimmed() == "true")
            return true;
    }
    return false;
}

} // namespace

XdgAutostart::XdgAutostart(QString folder, QString executable)
    : m_folder(std::move(folder)), m_executable(std::move(executable))
{
}

QString XdgAutostart::UserFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart");
}

QString XdgAutostart::EntryPath() const
{
    return QDir(m_folder).filePath(QFileInfo(m_executable).fileName() + QStringLiteral(".desktop"));
}

QByteArray XdgAutostart::Entry() const
{
    const QString name = QFileInfo(m_executable).fileName();
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=%1\n"
                                        "Comment=Starts %1 in the notification area at login\n"
                                        "Exec=%2\n"
                                        "Icon=%3\n"
                                        "Terminal=false\n")
                             .arg(Value(name), ExecArgument(QFileInfo(m_executable).absoluteFilePath()),
                                  QString::fromLatin1(res::kDesktopId));
    return text.toUtf8();
}

bool XdgAutostart::IsOn() const
{
    QFile file(EntryPath());
    return file.open(QIODevice::ReadOnly | QIODevice::Text) && !SaysHidden(file);
}

bool XdgAutostart::SetOn(bool on)
{
    if (!on)
        return !QFileInfo::exists(EntryPath()) || QFile::remove(EntryPath());
    if (!QDir().mkpath(m_folder))
        return false;
    const QByteArray entry = Entry();
    QSaveFile file(EntryPath());
    return file.open(QIODevice::WriteOnly) && file.write(entry) == entry.size() && file.commit();
}

} // namespace vostrel
