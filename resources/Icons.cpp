#include "resources/Icons.h"

#include "resources/PixelArtIconEngine.h"

#include <QFile>

#include <map>

// The icons are compiled into this static library; its resources must be
// registered by name before the first look-up.
static void RegisterIconResources()
{
    Q_INIT_RESOURCE(icons);
}

namespace vostrel::res {

QString IconFile(int id)
{
    static const bool registered = (RegisterIconResources(), true);
    Q_UNUSED(registered);
    return QStringLiteral(":/icons/%1.ico").arg(id);
}

QIcon LoadIcon(int id)
{
    // The alarm shows a frame ten times a second: decode each icon once.
    static std::map<int, QIcon> loaded;
    const auto found = loaded.find(id);
    if (found != loaded.end())
        return found->second;
    const QIcon icon = QFile::exists(IconFile(id)) ? QIcon(new PixelArtIconEngine(IconFile(id))) : QIcon();
    loaded.emplace(id, icon);
    return icon;
}

IconHandle LoadIconHandle(int id)
{
    return id > 0 && QFile::exists(IconFile(id)) ? static_cast<IconHandle>(id) : 0;
}

QIcon IconFromHandle(IconHandle handle)
{
    return handle == 0 ? QIcon() : LoadIcon(static_cast<int>(handle));
}

} // namespace vostrel::res
