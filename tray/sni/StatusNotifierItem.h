#pragma once

#include "resources/Icons.h"
#include "tray/sni/Pacer.h"
#include "tray/sni/SniTypes.h"

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>
#include <QPoint>
#include <QTimer>

namespace vostrel {

class SniPixmapCache;

// The org.kde.StatusNotifierItem interface of one tray icon: the picture,
// tooltip, label beside the icon, status and menu that hosts read, and the
// gestures they pass on. Hosts read again what a signal announces, some of
// them every property at every signal, so the item says only what changed
// and when it settles: a countdown in days sends nothing for hours, the
// alarm's animation is announced a frame a second however fast it runs,
// and a status that goes and comes back within one pass of the event loop
// (as a restarted alarm does) is not announced at all. The properties give
// what was last announced.
class StatusNotifierItem final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
    Q_PROPERTY(QString Category READ Category CONSTANT)
    Q_PROPERTY(QString Id READ Id CONSTANT)
    Q_PROPERTY(QString Title READ Title CONSTANT)
    Q_PROPERTY(QString Status READ Status)
    Q_PROPERTY(int WindowId READ WindowId CONSTANT)
    Q_PROPERTY(QString IconThemePath READ NoName CONSTANT)
    Q_PROPERTY(QString IconName READ NoName CONSTANT)
    Q_PROPERTY(QList<vostrel::SniPixmap> IconPixmap READ IconPixmap)
    Q_PROPERTY(QString IconAccessibleDesc READ IconAccessibleDesc)
    Q_PROPERTY(QString OverlayIconName READ NoName CONSTANT)
    Q_PROPERTY(QList<vostrel::SniPixmap> OverlayIconPixmap READ NoPixmap CONSTANT)
    Q_PROPERTY(QString AttentionIconName READ NoName CONSTANT)
    Q_PROPERTY(QList<vostrel::SniPixmap> AttentionIconPixmap READ AttentionIconPixmap)
    Q_PROPERTY(QString AttentionMovieName READ NoName CONSTANT)
    Q_PROPERTY(QString AttentionAccessibleDesc READ AttentionAccessibleDesc)
    Q_PROPERTY(vostrel::SniToolTip ToolTip READ ToolTip)
    Q_PROPERTY(QDBusObjectPath Menu READ Menu CONSTANT)
    Q_PROPERTY(bool ItemIsMenu READ ItemIsMenu CONSTANT)
    Q_PROPERTY(QString XAyatanaLabel READ XAyatanaLabel)
    Q_PROPERTY(QString XAyatanaLabelGuide READ XAyatanaLabelGuide)
    Q_PROPERTY(uint XAyatanaOrderingIndex READ XAyatanaOrderingIndex CONSTANT)

public:
    // While the item needs attention, the shortest time between two
    // announcements of a new picture: hosts draw the alarm's animation at
    // this pace, whatever pace the program animates at.
    static constexpr std::chrono::milliseconds kAlarmPictureInterval{1000};

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
    // The pictures are given as pixmaps, never by a theme's names.
    QString NoName() const { return {}; }
    SniPixmapList NoPixmap() const { return {}; }
    SniPixmapList IconPixmap() const;
    QString IconAccessibleDesc() const;
    // While the item needs attention, hosts that show an attention picture
    // show the same picture as the others; none otherwise.
    SniPixmapList AttentionIconPixmap() const;
    // Xfce's panel adds it to the tooltip whenever it is there.
    QString AttentionAccessibleDesc() const;
    SniToolTip ToolTip() const;
    QDBusObjectPath Menu() const { return m_menuPath; }
    bool ItemIsMenu() const { return false; }
    QString XAyatanaLabel() const { return m_label; }
    QString XAyatanaLabelGuide() const { return m_guide; }
    uint XAyatanaOrderingIndex() const { return 0; }

public slots:
    // The host's primary gesture.
    Q_SCRIPTABLE void Activate(int x, int y);
    // Middle clicks and the wheel mean nothing to a countdown.
    Q_SCRIPTABLE void SecondaryActivate(int, int) {}
    Q_SCRIPTABLE void XAyatanaSecondaryActivate(uint) {}
    Q_SCRIPTABLE void Scroll(int, const QString&) {}
    // A host without a menu of its own asks for ours at a screen point.
    Q_SCRIPTABLE void ContextMenu(int x, int y);
    // KDE's addition: a Wayland host hands over the right to bring a
    // window to the front just before it sends Activate.
    Q_SCRIPTABLE void ProvideXdgActivationToken(const QString& token);

signals:
    // Listed for introspection; the item sends them itself (see Send).
    Q_SCRIPTABLE void NewTitle();
    Q_SCRIPTABLE void NewIcon();
    Q_SCRIPTABLE void NewAttentionIcon();
    Q_SCRIPTABLE void NewOverlayIcon();
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
    res::IconHandle NextPicture() const;
    void AnnouncePicture();
    void AnnounceStatus();
    void Send(const QString& signal, const QVariantList& arguments = {}) const;

    QDBusConnection m_bus;
    QString m_path;
    QDBusObjectPath m_menuPath;
    SniPixmapCache& m_pixmaps;
    res::IconHandle m_icon = 0;  // the picture the program shows
    res::IconHandle m_shown = 0; // the picture hosts were told of
    res::IconHandle m_resting = 0;
    res::IconHandle m_lastFrame = 0;
    res::IconHandle m_frameBefore = 0;
    QString m_label;
    QString m_guide;
    bool m_attention = false;      // what the program asks for
    bool m_attentionShown = false; // what hosts were told
    Pacer m_picturePacer;
    QTimer m_statusSettles;
};

} // namespace vostrel
