#pragma once

#include <QString>

namespace vostrel {

// Qt's tooltip keeps the text it opened with for as long as the pointer
// rests on an XEmbed tray icon, though the tip changes every second. While
// it shows the old tip, it shows the new one instead, where it stands.
void ReplaceOpenToolTip(const QString& shown, const QString& replacement);

} // namespace vostrel
