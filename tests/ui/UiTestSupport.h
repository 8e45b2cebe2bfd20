#pragma once

#include "CountdownDlg.h"
#include "EngineTestSupport.h"
#include "Messages.h"
#include "Notifier.h"
#include "NotifyArea.h"
#include "ProfileStore.h"
#include "Speaker.h"

#include <QStringList>

#include <map>
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

struct RecordingNotifier final : Notifier {
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
struct RecordingNotifyArea final : NotifyArea {
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
        for (const Request& r : requests) {
            if (r.request != NIM_DELETE && (r.record.uFlags & NIF_ICON))
                pictures.push_back(r.record.hIcon);
        }
        return pictures;
    }

    bool available = true;
    bool succeed = true;
    std::vector<Request> requests;
    std::vector<bool> attention;         // every change of attention, in order
    std::optional<QPoint> eventPosition; // what the area says of every mouse event
};

// Settings kept in memory under "section/name", integers and texts apart.
class MemoryStore final : public ProfileStore {
    using Name = std::string_view;
    static std::string Key(Name section, Name name) { return std::string(section) + "/" + std::string(name); }
    template <typename T> static T Read(const std::map<std::string, T>& map, Name s, Name n, T fallback)
    {
        const auto found = map.find(Key(s, n));
        return found == map.end() ? fallback : found->second;
    }

public:
    std::int32_t ReadInt(Name s, Name n, std::int32_t dflt) override { return Read(ints, s, n, dflt); }
    std::string ReadText(Name s, Name n, Name dflt) override { return Read(texts, s, n, std::string(dflt)); }
    void WriteInt(Name s, Name n, std::int32_t value) override { ints[Key(s, n)] = value; }
    void WriteText(Name s, Name n, Name value) override { texts[Key(s, n)] = std::string(value); }

    std::map<std::string, std::int32_t> ints;
    std::map<std::string, std::string> texts;
};

} // namespace vostrel::test
