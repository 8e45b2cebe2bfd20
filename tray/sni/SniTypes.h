#pragma once

#include <QByteArray>
#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QString>

// The structures StatusNotifierItem properties carry over D-Bus.
namespace vostrel {

// One image of an icon: width, height and ARGB32 pixels in network byte
// order, (iiay) on the bus.
struct SniPixmap {
    int width = 0;
    int height = 0;
    QByteArray pixels;
};
using SniPixmapList = QList<SniPixmap>;

// A tooltip: icon name, icon images, title and text, (sa(iiay)ss).
struct SniToolTip {
    QString iconName;
    SniPixmapList iconPixmaps;
    QString title;
    QString text;
};

QDBusArgument& operator<<(QDBusArgument& argument, const SniPixmap& pixmap);
const QDBusArgument& operator>>(const QDBusArgument& argument, SniPixmap& pixmap);
QDBusArgument& operator<<(QDBusArgument& argument, const SniToolTip& tip);
const QDBusArgument& operator>>(const QDBusArgument& argument, SniToolTip& tip);

// Makes them known to Qt D-Bus, as it must before an item is exported.
void RegisterSniTypes();

} // namespace vostrel

Q_DECLARE_METATYPE(vostrel::SniPixmap)
Q_DECLARE_METATYPE(vostrel::SniToolTip)
