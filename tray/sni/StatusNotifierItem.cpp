#include "tray/sni/StatusNotifierItem.h"

#include "tray/sni/SniPixmapCache.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QMetaClassInfo>

namespace vostrel {
namespace {

// The interface's name, as the class declares it to Qt D-Bus.
const QString& Interface()
{
    static const QString name = [] {
        const QMetaObject& meta = StatusNotifierItem::staticMetaObject;
        return QString::fromLatin1(meta.classInfo(meta.indexOfClassInfo("D-Bus Interface")).value());
    }();
    return name;
}

// The widest text the label will take while it counts the same way: every
// digit as a zero, so that hosts may keep its width as the figures change.
QString GuideFor(const QString& label)
{
    QString guide = label;
    for (QChar& c : guide) {
        if (c.isDigit())
            c = QLatin1Char('0');
    }
    return guide;
}

} // namespace

StatusNotifierItem::StatusNotifierItem(const QDBusConnection& bus, const QString& path,
                                       const QString& menuPath, SniPixmapCache& pixmaps, res::IconHandle icon,
                                       const QString& tip)
    : m_bus(bus), m_path(path), m_menuPath(menuPath), m_pixmaps(pixmaps), m_icon(icon), m_shown(icon),
      m_picturePacer(kAlarmPictureInterval, [this] { AnnouncePicture(); })
{
    TakeTip(tip);
    m_statusSettles.setSingleShot(true);
    m_statusSettles.setInterval(0);
    connect(&m_statusSettles, &QTimer::timeout, this, &StatusNotifierItem::AnnounceStatus);
}

void StatusNotifierItem::Send(const QString& signal, const QVariantList& arguments) const
{
    // Made here rather than emitted: Qt's relay of an emitted signal builds
    // an argument list from the signal's description and hands it to its
    // D-Bus thread first, which costs a counting program a fifth more work
    // each second.
    QDBusMessage message = QDBusMessage::createSignal(m_path, Interface(), signal);
    message.setArguments(arguments);
    m_bus.send(message);
}

void StatusNotifierItem::SetIcon(res::IconHandle icon)
{
    if (icon == m_icon)
        return;
    m_icon = icon;
    if (!m_attentionShown) {
        m_picturePacer.RunNow();
        return;
    }
    // The picture it had before is put back each time the alarm restarts:
    // only the others are its frames.
    if (icon != m_resting && icon != m_lastFrame) {
        m_frameBefore = m_lastFrame;
        m_lastFrame = icon;
    }
    m_picturePacer.Request();
}

res::IconHandle StatusNotifierItem::NextPicture() const
{
    if (!m_attentionShown)
        return m_icon;
    // The alarm's frames in turn, whichever of them the animation shows at
    // the moment: hosts see them change at every announcement.
    return m_lastFrame != m_shown || m_frameBefore == 0 ? m_lastFrame : m_frameBefore;
}

void StatusNotifierItem::AnnouncePicture()
{
    const res::IconHandle next = NextPicture();
    if (next == m_shown || next == 0)
        return;
    m_shown = next;
    Send(QStringLiteral("NewIcon"));
    if (m_attentionShown)
        Send(QStringLiteral("NewAttentionIcon"));
}

bool StatusNotifierItem::TakeTip(const QString& tip)
{
    // The tooltip pads its figures for the old notification area; a label
    // beside the icon needs no padding.
    const QString label = tip.trimmed();
    if (label == m_label)
        return false;
    m_label = label;
    m_guide = GuideFor(label);
    return true;
}

void StatusNotifierItem::SetTip(const QString& tip)
{
    const QString oldGuide = m_guide;
    if (!TakeTip(tip))
        return;
    // A picture due within the alarm's second goes with the tip: hosts that
    // gather the signals of a few milliseconds read everything once.
    if (m_attentionShown)
        m_picturePacer.Flush();
    // GNOME's AppIndicator extension re-reads a property named after the
    // signal, so the label's change has its own; PropertiesChanged is for
    // hosts that listen only to that.
    Send(QStringLiteral("NewToolTip"));
    Send(QStringLiteral("XAyatanaNewLabel"), {m_label, m_guide});
    QVariantMap changed{{QStringLiteral("XAyatanaLabel"), m_label},
                        {QStringLiteral("IconAccessibleDesc"), IconAccessibleDesc()}};
    if (m_guide != oldGuide)
        changed.insert(QStringLiteral("XAyatanaLabelGuide"), m_guide);
    QDBusMessage properties = QDBusMessage::createSignal(
        m_path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"));
    properties << Interface() << changed << QStringList();
    m_bus.send(properties);
}

void StatusNotifierItem::SetAttention(bool attention)
{
    m_attention = attention;
    // An alarm restarted from within one handler ends and starts again at
    // once: only where it stands once the handler is done is news.
    m_statusSettles.start();
}

void StatusNotifierItem::AnnounceStatus()
{
    if (m_attention == m_attentionShown)
        return;
    m_attentionShown = m_attention;
    m_resting = m_shown;
    m_lastFrame = m_frameBefore = 0;
    if (m_attentionShown) {
        // The attention picture comes first: swaybar draws from stale
        // memory when told of the status before it has that picture.
        Send(QStringLiteral("NewAttentionIcon"));
        Send(QStringLiteral("NewStatus"), {Status()});
    } else {
        // The picture the alarm ends with need not wait its turn.
        m_picturePacer.RunNow();
        Send(QStringLiteral("NewStatus"), {Status()});
        Send(QStringLiteral("NewAttentionIcon"));
    }
}

QString StatusNotifierItem::Id() const
{
    // Stable across sessions, as hosts keep their per-item settings by it;
    // a renamed copy keeps its own, as it does its own settings.
    return QCoreApplication::applicationName();
}

QString StatusNotifierItem::Status() const
{
    return m_attentionShown ? QStringLiteral("NeedsAttention") : QStringLiteral("Active");
}

SniPixmapList StatusNotifierItem::IconPixmap() const
{
    return m_pixmaps.Pixmaps(m_shown);
}

SniPixmapList StatusNotifierItem::AttentionIconPixmap() const
{
    return m_attentionShown ? m_pixmaps.Pixmaps(m_shown) : SniPixmapList();
}

QString StatusNotifierItem::IconAccessibleDesc() const
{
    return m_label == Title() ? Title() : QStringLiteral("%1, %2 left").arg(Title(), m_label);
}

QString StatusNotifierItem::AttentionAccessibleDesc() const
{
    return m_attentionShown ? QStringLiteral("Vostrel, time is up") : QString();
}

SniToolTip StatusNotifierItem::ToolTip() const
{
    return {QString(), {}, m_label, QString()};
}

// The gestures are handled once the host has its reply: the popup runs an
// event loop of its own, and the host would wait for as long as it is open.
void StatusNotifierItem::Activate(int, int)
{
    QMetaObject::invokeMethod(this, &StatusNotifierItem::Activated, Qt::QueuedConnection);
}

void StatusNotifierItem::ProvideXdgActivationToken(const QString& token)
{
    // Qt's Wayland windows take the token from the environment at their
    // next activation, and clear it once used.
    qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
}

void StatusNotifierItem::ContextMenu(int x, int y)
{
    QMetaObject::invokeMethod(
        this, [this, x, y] { emit ContextMenuRequested(QPoint(x, y)); }, Qt::QueuedConnection);
}

} // namespace vostrel
