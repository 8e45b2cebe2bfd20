#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vostrel {

// The per-user store of named integers and texts, in sections. A missing or
// unreadable value reads as the default the caller passes; failed writes are
// ignored.
class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    virtual std::int32_t ReadInt(std::string_view section, std::string_view name, std::int32_t fallback) = 0;
    virtual std::string ReadText(std::string_view section, std::string_view name,
                                 std::string_view fallback) = 0;
    virtual void WriteInt(std::string_view section, std::string_view name, std::int32_t value) = 0;
    virtual void WriteText(std::string_view section, std::string_view name, std::string_view value) = 0;
};

} // namespace vostrel
