#include "tray/DesktopTrayArea.h"

#include "app/framework/WindowPlatform.h"
#include "tray/sni/StatusNotifierHosts.h"
#include "tray/sni/StatusNotifierTrayArea.h"
#include "tray/sni/WatcherAddress.h"
#include "tray/xembed/XEmbedTrayArea.h"

#include <QDBusConnectionInterface>
#include <QGuiApplication>

namespace vostrel {
std::unique_ptr<TrayArea> DesktopTrayArea::XEmbedWhereAvailable()
{
    // Qt's tray icon chooses between StatusNotifierItem and XEmbed by
    // itself; made only while no watcher runs, it is XEmbed.
    if (!OnX11())
        return nullptr;
    return std::make_unique<XEmbedTrayArea>();
}

DesktopTrayArea::DesktopTrayArea(AreaFactory xembed, MenuLookup menus)
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

DesktopTrayArea::~DesktopTrayArea() = default;

bool DesktopTrayArea::IsAvailable() const
{
    return m_bus.isConnected() || (m_xembed && m_xembed->IsAvailable());
}

TrayArea* DesktopTrayArea::Current() const
{
    if (m_statusNotifier)
        return m_statusNotifier.get();
    return m_xembed.get();
}

bool DesktopTrayArea::ShellNotifyIcon(std::uint32_t request, const NOTIFYICONDATA& record)
{
    const auto found = m_icons.find(KeyOf(record));
    TrayArea* current = Current();
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

void DesktopTrayArea::SetAttention(const NOTIFYICONDATA& record, bool attention)
{
    const auto found = m_icons.find(KeyOf(record));
    if (found == m_icons.end())
        return;
    found->second.attention = attention;
    if (TrayArea* current = Current())
        current->SetAttention(record, attention);
}

std::optional<QPoint> DesktopTrayArea::EventPosition() const
{
    const TrayArea* current = Current();
    return current ? current->EventPosition() : std::nullopt;
}

void DesktopTrayArea::WatcherOwnerChanged(const QString& newOwner)
{
    if (newOwner.isEmpty())
        UseXEmbed();
    else
        UseStatusNotifier();
}

void DesktopTrayArea::UseStatusNotifier()
{
    // A watcher that restarts knows no items: ours register again once it
    // has a host.
    if (m_statusNotifier) {
        m_statusNotifier->WaitForHost();
    } else {
        Withdraw();
        m_statusNotifier = std::make_unique<StatusNotifierTrayArea>(m_menus, false);
        Restore(*m_statusNotifier);
    }
    m_hosts->Ask();
}

void DesktopTrayArea::UseXEmbed()
{
    if (m_xembed)
        return;
    std::unique_ptr<TrayArea> xembed = m_makeXEmbed ? m_makeXEmbed() : nullptr;
    // Without XEmbed the items stay on the bus for the next watcher.
    if (!xembed)
        return;
    Withdraw();
    m_xembed = std::move(xembed);
    Restore(*m_xembed);
}

void DesktopTrayArea::Withdraw()
{
    if (TrayArea* current = Current()) {
        for (const auto& [key, icon] : m_icons)
            current->ShellNotifyIcon(NIM_DELETE, icon.record);
    }
    m_statusNotifier.reset();
    m_xembed.reset();
}

void DesktopTrayArea::Restore(TrayArea& area)
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
