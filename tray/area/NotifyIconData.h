#pragma once

#include <cstddef>
#include <cstdint>

// The notification area's protocol: the notify record that describes the
// icon, the requests that add, change and remove it, and the mouse messages
// it reports back. Window and icon handles are 32-bit ids.
namespace vostrel {

struct NOTIFYICONDATA {
    std::uint32_t cbSize;           // always 88
    std::uint32_t hWnd;             // window that receives the callback message
    std::uint32_t uID;              // the icon's id, also its popup menu's resource id
    std::uint32_t uFlags;           // which of the next three members a request carries
    std::uint32_t uCallbackMessage; // message sent to hWnd for mouse events on the icon
    std::uint32_t hIcon;            // the picture last sent
    char szTip[64];                 // tooltip, zero-terminated, at most 63 characters
};

static_assert(sizeof(NOTIFYICONDATA) == 88);
static_assert(offsetof(NOTIFYICONDATA, hWnd) == 4);
static_assert(offsetof(NOTIFYICONDATA, uID) == 8);
static_assert(offsetof(NOTIFYICONDATA, uFlags) == 12);
static_assert(offsetof(NOTIFYICONDATA, uCallbackMessage) == 16);
static_assert(offsetof(NOTIFYICONDATA, hIcon) == 20);
static_assert(offsetof(NOTIFYICONDATA, szTip) == 24);

constexpr std::uint32_t NIF_MESSAGE = 1;
constexpr std::uint32_t NIF_ICON = 2;
constexpr std::uint32_t NIF_TIP = 4;

constexpr std::uint32_t NIM_ADD = 0;
constexpr std::uint32_t NIM_MODIFY = 1;
constexpr std::uint32_t NIM_DELETE = 2;

constexpr std::uint32_t WM_NULL = 0x0000;
constexpr std::uint32_t WM_COMMAND = 0x0111;
constexpr std::uint32_t WM_TIMER = 0x0113;
constexpr std::uint32_t WM_MOUSEMOVE = 0x0200;
constexpr std::uint32_t WM_LBUTTONUP = 0x0202;
constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x0203;
constexpr std::uint32_t WM_RBUTTONUP = 0x0205;
constexpr std::uint32_t WM_MBUTTONUP = 0x0208;
constexpr std::uint32_t WM_USER = 0x0400;

} // namespace vostrel
