#include "app/StartupPreload.h"

#include "resources/Icons.h"
#include "resources/ResourceIds.h"

#include <QImageReader>

#ifdef VOSTREL_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace vostrel {

std::jthread ReadFontConfiguration()
{
#ifdef VOSTREL_HAVE_FONTCONFIG
    // Qt's font database starts from the same configuration, which
    // fontconfig keeps once read.
    return std::jthread([] { FcInit(); });
#else
    return {};
#endif
}

std::jthread LoadIconPlugin()
{
    // Reading one of the window's icons loads Qt's icon plugin, which then
    // stays loaded for every thread; the picture itself is thrown away.
    return std::jthread([] { QImageReader(res::IconFile(res::IDI_STOPWATCH2)).read(); });
}

} // namespace vostrel
