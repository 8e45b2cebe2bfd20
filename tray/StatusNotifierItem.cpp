#include "StatusNotifierItem.h"

#include "SniPixmaps.h"

#include <QCoreApplication>
#include <QDBusMessage>

namespace vostrel {
namespace {

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
    : m_bus(bus), m_path(path), m_menuPath(menuPath), m_pixmaps(pixmaps), m_icon(icon)
{
    TakeTip(tip);
}

void StatusNotifierItem::SetIcon(res::IconHandle icon)
{
    if (icon == m_icon)
        return;
    m_icon = icon;
    emit NewIcon();
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
    // The three signals of a tick are made here rather than emitted: Qt's
    // relay of an emitted signal builds an argument list from the signal's
    // description and hands it to its D-Bus thread first, which costs a
    // counting program a fifth more work each second.
    // GNOME's AppIndicator extension re-reads a property named after the
    // signal, so the label's change has its own; PropertiesChanged is for
    // hosts that listen only to that.
    const QString item = QStringLiteral("org.kde.StatusNotifierItem");
    m_bus.send(QDBusMessage::createSignal(m_path, item, QStringLiteral("NewToolTip")));
    QDBusMessage label = QDBusMessage::createSignal(m_path, item, QStringLiteral("XAyatanaNewLabel"));
    label << m_label << m_guide;
    m_bus.send(label);
    QVariantMap changed{{QStringLiteral("XAyatanaLabel"), m_label}};
    if (m_guide != oldGuide)
        changed.insert(QStringLiteral("XAyatanaLabelGuide"), m_guide);
    QDBusMessage properties = QDBusMessage::createSignal(
        m_path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"));
    properties << item << changed << QStringList();
    m_bus.send(properties);
}

void StatusNotifierItem::SetAttention(bool attention)
{
    if (attention == m_attention)
        return;
    m_attention = attention;
    emit NewStatus(Status());
}

QString StatusNotifierItem::Id() const
{
    // Stable across sessions, as hosts keep their per-item settings by it;
    // a renamed copy keeps its own, as it does its own settings.
    return QCoreApplication::applicationName();
}

QString StatusNotifierItem::Status() const
{
    return m_attention ? QStringLiteral("NeedsAttention") : QStringLiteral("Active");
}

SniPixmapList StatusNotifierItem::IconPixmap() const
{
    return m_pixmaps.Pixmaps(m_icon);
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
