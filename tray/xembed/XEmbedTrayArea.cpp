#include "tray/xembed/XEmbedTrayArea.h"

#include "app/framework/WindowPlatform.h"
#include "resources/Icons.h"
#include "tray/xembed/OpenToolTip.h"

#include <cstring>

namespace vostrel {
namespace {

std::uint32_t MouseMessage(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Context:
        return WM_RBUTTONUP;
    case QSystemTrayIcon::DoubleClick:
        return WM_LBUTTONDBLCLK;
    case QSystemTrayIcon::Trigger:
        return WM_LBUTTONUP;
    case QSystemTrayIcon::MiddleClick:
        return WM_MBUTTONUP;
    case QSystemTrayIcon::Unknown:
        break;
    }
    return WM_MOUSEMOVE;
}

} // namespace

struct XEmbedTrayArea::Entry {
    NOTIFYICONDATA record{};
    QSystemTrayIcon icon;
};

// Qt puts the icons back by itself when a tray host restarts or first
// appears.
XEmbedTrayArea::XEmbedTrayArea() = default;

XEmbedTrayArea::~XEmbedTrayArea() = default;

bool XEmbedTrayArea::IsAvailable() const
{
    // A desktop whose panel has not started yet (or is restarting) still
    // has a notification area: the icon is added now and shows as soon as
    // a tray host is there. Only platforms that never show tray icons
    // (offscreen, framebuffers) have none.
    return QSystemTrayIcon::isSystemTrayAvailable() || OnDesktopPlatform();
}

bool XEmbedTrayArea::ShellNotifyIcon(std::uint32_t request, const NOTIFYICONDATA& record)
{
    const NotifyKey key = KeyOf(record);
    const auto found = m_icons.find(key);
    switch (request) {
    case NIM_ADD: {
        if (found != m_icons.end() || !IsAvailable())
            return false;
        auto entry = std::make_unique<Entry>();
        entry->record = record;
        entry->icon.setIcon(res::IconFromHandle(record.hIcon));
        entry->icon.setToolTip(TipText(record));
        connect(&entry->icon, &QSystemTrayIcon::activated, this,
                [this, key](QSystemTrayIcon::ActivationReason reason) { Activated(key, reason); });
        entry->icon.show();
        m_icons.emplace(key, std::move(entry));
        return true;
    }
    case NIM_MODIFY: {
        if (found == m_icons.end())
            return false;
        Entry& entry = *found->second;
        if (record.uFlags & NIF_ICON) {
            entry.record.hIcon = record.hIcon;
            entry.icon.setIcon(res::IconFromHandle(record.hIcon));
        }
        if ((record.uFlags & NIF_TIP) &&
            std::memcmp(entry.record.szTip, record.szTip, sizeof record.szTip) != 0) {
            const QString shown = TipText(entry.record);
            std::memcpy(entry.record.szTip, record.szTip, sizeof record.szTip);
            entry.icon.setToolTip(TipText(entry.record));
            ReplaceOpenToolTip(shown, TipText(entry.record));
        }
        if (record.uFlags & NIF_MESSAGE)
            entry.record.uCallbackMessage = record.uCallbackMessage;
        return true;
    }
    case NIM_DELETE:
        if (found == m_icons.end())
            return false;
        m_icons.erase(found);
        return true;
    default:
        return false;
    }
}

void XEmbedTrayArea::Activated(const NotifyKey& key, QSystemTrayIcon::ActivationReason reason)
{
    const auto found = m_icons.find(key);
    if (found == m_icons.end())
        return;
    const NOTIFYICONDATA& record = found->second->record;
    SendToRecordWindow(record, record.uCallbackMessage, record.uID,
                       static_cast<std::intptr_t>(MouseMessage(reason)));
}

} // namespace vostrel
