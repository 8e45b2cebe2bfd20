#pragma once

#include "tray/area/TrayArea.h"
#include "tray/area/TrayRecord.h"

#include <QObject>
#include <QSystemTrayIcon>

#include <map>
#include <memory>

namespace vostrel {

// The desktop's notification area through Qt: StatusNotifierItem or XEmbed,
// whichever the desktop offers. Each request becomes the matching icon,
// tooltip or visibility change, and the icon's activations come back to the
// record's window as its callback message.
class XEmbedTrayArea final : public QObject, public TrayArea {
public:
    XEmbedTrayArea();
    ~XEmbedTrayArea() override;

    bool IsAvailable() const override;
    bool ShellNotifyIcon(std::uint32_t request, const NOTIFYICONDATA& record) override;

private:
    struct Entry;

    void Activated(const NotifyKey& key, QSystemTrayIcon::ActivationReason reason);

    std::map<NotifyKey, std::unique_ptr<Entry>> m_icons;
};

} // namespace vostrel
