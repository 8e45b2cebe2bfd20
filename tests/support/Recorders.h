#pragma once

#include "app/desktop/DesktopNotifier.h"
#include "app/framework/Messages.h"
#include "app/sound/Speaker.h"
#include "tray/area/TrayArea.h"

#include <QStringList>

#include <ostream>
#include <string>
#include <vector>

// Lets test failures show texts as texts.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace vostrel::test {

struct RecordingSpeaker final : Speaker {
    void Beep(unsigned hz, unsigned ms) override { beeps.push_back({hz, ms}); }
    std::vector<std::pair<unsigned, unsigned>> beeps;
};

struct RecordingDesktopNotifier final : DesktopNotifier {
    void Notify(const QString& summary, const QString& body) override
    {
        notified.append(summary + ": " + body);
    }
    void Close() override { ++closed; }
    QStringList notified;
    int closed = 0;
};

struct RecordingMessages final : Messages {
    void Show(QWidget*, const QString& text) override { shown.append(text); }
    QStringList shown;
};

// A notification area that records every request and answers as told.
struct RecordingTrayArea final : TrayArea {
    struct Request {
        std::uint32_t request;
        NOTIFYICONDATA record;
    };

    bool IsAvailable() const override { return available; }
    bool ShellNotifyIcon(std::uint32_t request, const NOTIFYICONDATA& record) override
    {
        requests.push_back({request, record});
        return succeed;
    }
    void SetAttention(const NOTIFYICONDATA&, bool on) override { attention.push_back(on); }
    std::optional<QPoint> EventPosition() const override { return eventPosition; }

    // The pictures sent, in order, by add and modify requests that carry one.
    std::vector<std::uint32_t> Pictures() const
    {
        std::vector<std::uint32_t> pictures;
        for (const Request& r : requests)
            if (r.request != NIM_DELETE && (r.record.uFlags & NIF_ICON))
                pictures.push_back(r.record.hIcon);
        return pictures;
    }

    bool available = true;
    bool succeed = true;
    std::vector<Request> requests;
    std::vector<bool> attention;         // every change of attention, in order
    std::optional<QPoint> eventPosition; // what the area says of every mouse event
};

} // namespace vostrel::test
