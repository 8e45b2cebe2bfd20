#pragma once

#include "resources/Icons.h"
#include "tray/sni/SniTypes.h"

#include <array>
#include <map>

namespace vostrel {

// Our icons as StatusNotifierItem pixmaps at the sizes panels draw, each
// worked out once: the alarm changes the picture ten times a second, and
// hosts read it again at every change.
class SniPixmapCache {
public:
    static constexpr std::array kSizes{16, 22, 24, 32, 48, 64};

    // One pixmap for every size; none for the empty icon.
    const SniPixmapList& Pixmaps(res::IconHandle icon);

private:
    std::map<res::IconHandle, SniPixmapList> m_pixmaps;
};

} // namespace vostrel
