#include "tray/sni/StatusNotifierTrayArea.h"

#include "tray/sni/DBusMenuExporter.h"
#include "tray/sni/StatusNotifierItem.h"
#include "tray/sni/StatusNotifierService.h"

#include <QPointer>

namespace vostrel {

struct StatusNotifierTrayArea::Icon {
    Icon(const NOTIFYICONDATA& record, const MenuLookup& menus, SniPixmapCache& pixmaps)
        : record(record),
          item(service.Bus(), QString::fromLatin1(StatusNotifierService::kItemPath),
               QString::fromLatin1(StatusNotifierService::kMenuPath), pixmaps, record.hIcon, TipText(record)),
          menu(menus, record.uID)
    {
    }

    NOTIFYICONDATA record;
    StatusNotifierService service;
    StatusNotifierItem item;
    DBusMenuExporter menu;
};

StatusNotifierTrayArea::StatusNotifierTrayArea(MenuLookup menus, bool hostPresent)
    : m_menus(std::move(menus)), m_hostPresent(hostPresent)
{
    RegisterSniTypes();
    RegisterDBusMenuTypes();
}

StatusNotifierTrayArea::~StatusNotifierTrayArea() = default;

bool StatusNotifierTrayArea::IsAvailable() const
{
    return QDBusConnection::sessionBus().isConnected();
}

bool StatusNotifierTrayArea::ShellNotifyIcon(std::uint32_t request, const NOTIFYICONDATA& record)
{
    const auto found = m_icons.find(KeyOf(record));
    switch (request) {
    case NIM_ADD:
        return found == m_icons.end() && Add(record);
    case NIM_MODIFY:
        if (found == m_icons.end())
            return false;
        ApplyModify(found->second->record, record);
        if (record.uFlags & NIF_ICON)
            found->second->item.SetIcon(record.hIcon);
        if (record.uFlags & NIF_TIP)
            found->second->item.SetTip(TipText(record));
        return true;
    case NIM_DELETE:
        if (found == m_icons.end())
            return false;
        m_icons.erase(found);
        return true;
    default:
        return false;
    }
}

bool StatusNotifierTrayArea::Add(const NOTIFYICONDATA& record)
{
    auto icon = std::make_unique<Icon>(record, m_menus, m_pixmaps);
    if (!icon->service.Publish(icon->item, icon->menu))
        return false;
    const NotifyKey key = KeyOf(record);
    connect(&icon->item, &StatusNotifierItem::Activated, this,
            [this, key] { SendMouse(key, WM_LBUTTONDBLCLK, std::nullopt); });
    connect(&icon->item, &StatusNotifierItem::ContextMenuRequested, this,
            [this, key](QPoint at) { SendMouse(key, WM_RBUTTONUP, at); });
    connect(&icon->menu, &DBusMenuExporter::CommandChosen, this,
            [this, key](unsigned command) { SendCommand(key, command); });
    if (m_hostPresent)
        icon->service.RegisterWithWatcher();
    m_icons.emplace(key, std::move(icon));
    return true;
}

void StatusNotifierTrayArea::SetAttention(const NOTIFYICONDATA& record, bool attention)
{
    const auto found = m_icons.find(KeyOf(record));
    if (found != m_icons.end())
        found->second->item.SetAttention(attention);
}

void StatusNotifierTrayArea::HostPresent()
{
    m_hostPresent = true;
    RegisterAll();
}

void StatusNotifierTrayArea::RegisterAll() const
{
    for (const auto& [key, icon] : m_icons)
        icon->service.RegisterWithWatcher();
}

void StatusNotifierTrayArea::SendMouse(const NotifyKey& key, std::uint32_t mouse, std::optional<QPoint> at)
{
    const auto found = m_icons.find(key);
    if (found == m_icons.end())
        return;
    // A copy: the popup runs an event loop, during which the icon, and even
    // this area, may go.
    const NOTIFYICONDATA record = found->second->record;
    const QPointer<StatusNotifierTrayArea> alive(this);
    m_eventPosition = at;
    SendToRecordWindow(record, record.uCallbackMessage, record.uID, static_cast<std::intptr_t>(mouse));
    if (alive)
        m_eventPosition.reset();
}

void StatusNotifierTrayArea::SendCommand(const NotifyKey& key, unsigned command)
{
    const auto found = m_icons.find(key);
    if (found != m_icons.end())
        SendToRecordWindow(found->second->record, WM_COMMAND, command, 0);
}

} // namespace vostrel
