#pragma once

namespace vostrel::res {

// The program's name on the desktop: its desktop entry's (and so its
// launcher's, notifications' and windows' class), and its icon's in the
// icon theme.
inline constexpr char kDesktopId[] = "io.pelmark.Vostrel";

} // namespace vostrel::res
