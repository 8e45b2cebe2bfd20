#pragma once

namespace vostrel::res {

// The program's name and version as the About box shows them.
inline constexpr char kAboutVersion[] = "Vostrel Version 5.0";

} // namespace vostrel::res
