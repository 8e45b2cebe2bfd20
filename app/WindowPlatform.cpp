#include "WindowPlatform.h"

#include <QGuiApplication>

namespace vostrel {

bool PlatformPlacesWindows()
{
    // Qt names its Wayland platforms "wayland", "wayland-egl" and so on.
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace vostrel
