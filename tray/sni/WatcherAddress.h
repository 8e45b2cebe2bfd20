#pragma once

#include <QString>

namespace vostrel {

// Where the StatusNotifierWatcher answers on the session bus: its name, its
// object and its interface (named as the service).
inline const QString kWatcherName = QStringLiteral("org.kde.StatusNotifierWatcher");
inline const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");

} // namespace vostrel
