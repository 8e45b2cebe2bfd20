#include "StartupPreload.h"

#include <QBuffer>
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
    return std::jthread([] {
        // Asking for an icon reader loads the icon plugin too, once for
        // every thread.
        QBuffer nothing;
        QImageReader(&nothing, "ico").canRead();
    });
}

} // namespace vostrel
