#include "DesktopNotifyArea.h"

#include "QtNotifyArea.h"
#include "StatusNotifierArea.h"
#include "StatusNotifierHosts.h"

#include <QDBusConnectionInterface>
#include <QGuiApplication>

namespace vostrel {
namespace {

const QString kWatcherName = QStringLiteral("org.kde.StatusNotifierWatcher");

} // namespace

std::unique_ptr<NotifyArea> DesktopNotifyArea::XEmbedWhereAvailable()
{
    // Qt's tray icon chooses between StatusNotifierItem and XEmbed by
    // itself; made only while no watcher runs, it is XEmbed.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    return std::make_unique<QtNotifyArea>();
}

DesktopNotifyArea::DesktopNotifyArea(AreaFactory xembed, MenuLookup menus)
    : m_makeXEmbed(std::move(xembed)), m_menus(std::move(menus)), m_bus(QDBusConnection::sessionBus())
{
    if (m_bus.isConnected()) {
        m_watcher.setConnection(m_bus);
        m_watcher.setWatchMode(QDBusServiceWatcher::WatchForOwnerChange);
        m_watcher.addWatchedService(kWatcherName);
        connect(&m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
                [this](const QString&, const QString&, const QString& newOwner) {
                    WatcherOwnerChanged(newOwner);
                });
        m_hosts = std::make_unique<StatusNotifierHosts>(m_bus);
        connect(m_hosts.get(), &StatusNotifierHosts::HostPresent, this, [this] {
            if (m_statusNotifier)
                m_statusNotifier->HostPresent();
        });
    }
    if (m_bus.isConnected() && m_bus.interface()->isServiceRegistered(kWatcherName))
        UseStatusNotifier();
    else
        UseXEmbed();
}

DesktopNotifyArea::~DesktopNotifyArea() = default;

bool DesktopNotifyArea::IsAvailable() const
{
    return m_bus.isConnected() || (m_xembed && m_xembed->IsAvailable());
}

NotifyArea* DesktopNotifyArea::Current() const
{
    if (m_statusNotifier)
        return m_statusNotifier.get();
    return m_xembed.get();
}

bool DesktopNotifyArea::ShellNotifyIcon(std::uint32_t request, const NOTIFYICONDATA& record)
{
    const auto found = m_icons.find(KeyOf(record));
    NotifyArea* current = Current();
    switch (request) {
    case NIM_ADD:
        if (found != m_icons.end() || (current && !current->ShellNotifyIcon(NIM_ADD, record)))
            return false;
        m_icons.emplace(KeyOf(record), Icon{record}); // without a host it waits here
        return true;
    case NIM_MODIFY:
        if (found == m_icons.end())
            return false;
        ApplyModify(found->second.record, record);
        return !current || current->ShellNotifyIcon(NIM_MODIFY, record);
    case NIM_DELETE:
        if (found == m_icons.end())
            return false;
        m_icons.erase(found);
        return !current || current->ShellNotifyIcon(NIM_DELETE, record);
    default:
        return false;
    }
}

void DesktopNotifyArea::SetAttention(const NOTIFYICONDATA& record, bool attention)
{
    const auto found = m_icons.find(KeyOf(record));
    if (found == m_icons.end())
        return;
    found->second.attention = attention;
    if (NotifyArea* current = Current())
        current->SetAttention(record, attention);
}

std::optional<QPoint> DesktopNotifyArea::EventPosition() const
{
    const NotifyArea* current = Current();
    return current ? current->EventPosition() : std::nullopt;
}

void DesktopNotifyArea::WatcherOwnerChanged(const QString& newOwner)
{
    if (newOwner.isEmpty())
        UseXEmbed();
    else
        UseStatusNotifier();
}

void DesktopNotifyArea::UseStatusNotifier()
{
    // A watcher that restarts knows no items: ours register again once it
    // has a host.
    if (m_statusNotifier) {
        m_statusNotifier->WaitForHost();
    } else {
        Withdraw();
        m_statusNotifier = std::make_unique<StatusNotifierArea>(m_menus, false);
        Restore(*m_statusNotifier);
    }
    m_hosts->Ask();
}

void DesktopNotifyArea::UseXEmbed()
{
    if (m_xembed)
        return;
    std::unique_ptr<NotifyArea> xembed = m_makeXEmbed ? m_makeXEmbed() : nullptr;
    // Without XEmbed the items stay on the bus for the next watcher.
    if (!xembed)
        return;
    Withdraw();
    m_xembed = std::move(xembed);
    Restore(*m_xembed);
}

void DesktopNotifyArea::Withdraw()
{
    if (NotifyArea* current = Current()) {
        for (const auto& [key, icon] : m_icons)
            current->ShellNotifyIcon(NIM_DELETE, icon.record);
    }
    m_statusNotifier.reset();
    m_xembed.reset();
}

void DesktopNotifyArea::Restore(NotifyArea& area)
{
    for (const auto& [key, icon] : m_icons) {
        NOTIFYICONDATA record = icon.record;
        record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        area.ShellNotifyIcon(NIM_ADD, record);
        if (icon.attention)
            area.SetAttention(record, true);
    }
}

} // namespace vostrel
