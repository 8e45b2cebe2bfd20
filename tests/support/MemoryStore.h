#pragma once

#include "settings/ProfileStore.h"

#include <map>
#include <string>

namespace vostrel::test {

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
