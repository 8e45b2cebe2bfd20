#pragma once

#include <QIcon>

#include <cstdint>

namespace vostrel::res {

// An icon as the windows and the notification area pass it around: the
// number of its icon resource, 0 for none.
using IconHandle = std::uint32_t;

// The icon resource with this number, drawn at any size from the image
// sizes it holds without smoothing; a null icon when there is none.
QIcon LoadIcon(int id);
// The resource file of the icon with this number, for Qt's image readers.
QString IconFile(int id);

// The handle of an icon resource; 0 when the program has no such icon.
IconHandle LoadIconHandle(int id);
QIcon IconFromHandle(IconHandle handle);

} // namespace vostrel::res
