#pragma once

#include <cstdint>

namespace vostrel {

// A window known by a 32-bit handle, to which messages can be delivered by
// that handle: how the notification area reaches the window that a tray
// icon's record names.
class MessageWindow {
public:
    MessageWindow();
    virtual ~MessageWindow();
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    std::uint32_t Handle() const { return m_handle; }
    virtual std::intptr_t WindowProc(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) = 0;

    // The live window with this handle, or none.
    static MessageWindow* FromHandle(std::uint32_t handle);

private:
    std::uint32_t m_handle;
};

} // namespace vostrel
