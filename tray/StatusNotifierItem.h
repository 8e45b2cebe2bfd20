#pragma once

#include "Icons.h"
#include "SniTypes.h"

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>
#include <QPoint>

namespace vostrel {

class SniPixmapCache;

// The org.kde.StatusNotifierItem interface of one tray icon: the picture,
// tooltip, label beside the icon, status and menu that hosts read, and the
// gestures they pass on. A change goes out as the protocol's signal only
// when something did change: a countdown in days sends nothing for hours.
class StatusNotifierItem final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
    Q_PROPERTY(QString Category READ Category CONSTANT)
    Q_PROPERTY(QString Id READ Id CONSTANT)
    Q_PROPERTY(QString Title READ Title CONSTANT)
    Q_PROPERTY(QString Status READ Status)
    Q_PROPERTY(int WindowId READ WindowId CONSTANT)
    Q_PROPERTY(QList<vostrel::SniPixmap> IconPixmap READ IconPixmap)
    Q_PROPERTY(vostrel::SniToolTip ToolTip READ ToolTip)
    Q_PROPERTY(QDBusObjectPath Menu READ Menu CONSTANT)
    Q_PROPERTY(bool ItemIsMenu READ ItemIsMenu CONSTANT)
    Q_PROPERTY(QString XAyatanaLabel READ XAyatanaLabel)
    Q_PROPERTY(QString XAyatanaLabelGuide READ XAyatanaLabelGuide)

public:
    // The item as exported at path on bus, its menu at menuPath, showing
    // an icon and a tip to begin with.
    StatusNotifierItem(const QDBusConnection& bus, const QString& path, const QString& menuPath,
                       SniPixmapCache& pixmaps, res::IconHandle icon, const QString& tip);

    void SetIcon(res::IconHandle icon);
    // The tooltip, also shown beside the icon where hosts show a label.
    void SetTip(const QString& tip);
    void SetAttention(bool attention);

    QString Category() const { return QStringLiteral("ApplicationStatus"); }
    QString Id() const;
    QString Title() const { return QStringLiteral("Vostrel"); }
    QString Status() const;
    // No window of ours is worth naming: the main window is hidden most of
    // the time, and the record's window is not a window of the desktop's.
    int WindowId() const { return 0; }
    SniPixmapList IconPixmap() const;
    SniToolTip ToolTip() const;
    QDBusObjectPath Menu() const { return m_menuPath; }
    bool ItemIsMenu() const { return false; }
    QString XAyatanaLabel() const { return m_label; }
    QString XAyatanaLabelGuide() const { return m_guide; }

public slots:
    // The host's primary gesture.
    Q_SCRIPTABLE void Activate(int x, int y);
    // Middle clicks and the wheel mean nothing to a countdown.
    Q_SCRIPTABLE void SecondaryActivate(int, int) {}
    Q_SCRIPTABLE void Scroll(int, const QString&) {}
    // A host without a menu of its own asks for ours at a screen point.
    Q_SCRIPTABLE void ContextMenu(int x, int y);
    // KDE's addition: a Wayland host hands over the right to bring a
    // window to the front just before it sends Activate.
    Q_SCRIPTABLE void ProvideXdgActivationToken(const QString& token);

signals:
    // Listed for introspection; SetTip sends NewToolTip and XAyatanaNewLabel
    // itself.
    Q_SCRIPTABLE void NewIcon();
    Q_SCRIPTABLE void NewToolTip();
    Q_SCRIPTABLE void NewStatus(const QString& status);
    Q_SCRIPTABLE void XAyatanaNewLabel(const QString& label, const QString& guide);

    // For the program, not the bus: the gestures, after the host has its
    // reply.
    void Activated();
    void ContextMenuRequested(QPoint at);

private:
    // Takes the tip in; false when it shows nothing new.
    bool TakeTip(const QString& tip);

    QDBusConnection m_bus;
    QString m_path;
    QDBusObjectPath m_menuPath;
    SniPixmapCache& m_pixmaps;
    res::IconHandle m_icon = 0;
    QString m_label;
    QString m_guide;
    bool m_attention = false;
};

} // namespace vostrel
