// Gives a headless wlroots compositor's seat a pointer while it runs, so
// that clients bind one and sway's "seat - cursor" commands reach them.
// Prints "ready" once the device exists. The protocol is wlroots' own and in
// no Debian package: its two interfaces are declared here, requests unused
// by this program left out.
#include <wayland-client.h>

#include <cstring>
#include <iostream>

namespace {

const wl_interface kPointerInterface = {"zwlr_virtual_pointer_v1", 1, 0, nullptr, 0, nullptr};
// The library takes the argument types as a non-const array.
const wl_interface* kCreateTypes[] = {&wl_seat_interface, &kPointerInterface};
const wl_message kManagerRequests[] = {{"create_virtual_pointer", "?on", kCreateTypes}};
const wl_interface kManagerInterface = {
    "zwlr_virtual_pointer_manager_v1", 1, 1, kManagerRequests, 0, nullptr};

wl_proxy* g_manager = nullptr;

void Global(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t)
{
    if (std::strcmp(interface, kManagerInterface.name) == 0)
        g_manager = static_cast<wl_proxy*>(wl_registry_bind(registry, name, &kManagerInterface, 1));
}

void GlobalRemove(void*, wl_registry*, uint32_t)
{
}

const wl_registry_listener kRegistryListener = {Global, GlobalRemove};

int Fail(const char* why)
{
    std::cerr << "virtual_pointer: " << why << "\n";
    return 1;
}

} // namespace

int main()
{
    wl_display* display = wl_display_connect(nullptr);
    if (!display)
        return Fail("no Wayland display");
    wl_registry_add_listener(wl_display_get_registry(display), &kRegistryListener, nullptr);
    wl_display_roundtrip(display);
    if (!g_manager)
        return Fail("the compositor offers no virtual pointers");
    // The compositor's default seat.
    wl_proxy* pointer = wl_proxy_marshal_flags(g_manager, 0, &kPointerInterface, 1, 0,
                                               static_cast<wl_proxy*>(nullptr), nullptr);
    if (!pointer || wl_display_roundtrip(display) < 0)
        return Fail("the compositor refused the pointer");
    std::cout << "ready" << std::endl;
    while (wl_display_dispatch(display) != -1) {
    }
    wl_display_disconnect(display);
    return 0;
}
