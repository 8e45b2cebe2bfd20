#include "app/framework/MessageWindow.h"

#include <map>

namespace vostrel {
namespace {

// Handles are only ever used on the user-interface thread.
std::map<std::uint32_t, MessageWindow*>& LiveWindows()
{
    static std::map<std::uint32_t, MessageWindow*> windows;
    return windows;
}

std::uint32_t NextHandle()
{
    static std::uint32_t last = 0x10000;
    do {
        last += 4;
    } while (last == 0 || LiveWindows().contains(last));
    return last;
}

} // namespace

MessageWindow::MessageWindow() : m_handle(NextHandle())
{
    LiveWindows()[m_handle] = this;
}

MessageWindow::~MessageWindow()
{
    LiveWindows().erase(m_handle);
}

MessageWindow* MessageWindow::FromHandle(std::uint32_t handle)
{
    const auto found = LiveWindows().find(handle);
    return found == LiveWindows().end() ? nullptr : found->second;
}

} // namespace vostrel
