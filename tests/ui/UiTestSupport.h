#pragma once

#include "CountdownDlg.h"
#include "EngineTestSupport.h"
#include "MainWindow.h"
#include "Messages.h"
#include "ProfileStore.h"
#include "RecordingNotifyArea.h"
#include "Speaker.h"

#include <QString>
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

class RecordingSpeaker final : public Speaker {
public:
    void Beep(unsigned frequencyHz, unsigned durationMs) override
    {
        beeps.push_back({frequencyHz, durationMs});
    }
    std::vector<std::pair<unsigned, unsigned>> beeps;
};

class RecordingMessages final : public Messages {
public:
    void Show(QWidget*, const QString& text) override { shown.append(text); }
    QStringList shown;
};

// Settings kept in memory, integers and texts apart.
class MemoryStore final : public ProfileStore {
public:
    std::int32_t ReadInt(std::string_view section, std::string_view name, std::int32_t fallback) override
    {
        const auto found = ints.find(Key(section, name));
        return found == ints.end() ? fallback : found->second;
    }
    std::string ReadText(std::string_view section, std::string_view name, std::string_view fallback) override
    {
        const auto found = texts.find(Key(section, name));
        return found == texts.end() ? std::string(fallback) : found->second;
    }
    void WriteInt(std::string_view section, std::string_view name, std::int32_t value) override
    {
        ints[Key(section, name)] = value;
    }
    void WriteText(std::string_view section, std::string_view name, std::string_view value) override
    {
        texts[Key(section, name)] = std::string(value);
    }

    static std::string Key(std::string_view section, std::string_view name)
    {
        return std::string(section) + "/" + std::string(name);
    }

    std::map<std::string, std::int32_t> ints;
    std::map<std::string, std::string> texts;
};

// A countdown window with every service faked, at 10:00 on 6 December 2026.
struct DialogFixture {
    FixedClock clock{At(2026, 12, 6, 10)};
    RecordingSpeaker speaker;
    MemoryStore store;
    RecordingMessages messages;
    RecordingNotifyArea notifyArea;
    Application app;

    CountdownServices Services() { return {clock, speaker, store, messages, notifyArea, app}; }
};

} // namespace vostrel::test
