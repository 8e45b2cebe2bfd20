/* Prints the wall-clock time, in milliseconds since the epoch, of every
 * repaint that touches a band of a window (the countdown's display), for a
 * number of seconds. Usage: tick_watch WINDOW_ID SECONDS TOP BOTTOM
 * (TOP and BOTTOM: the band's rows within the window). */
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static long long now_ms(void)
{
    struct timespec t;
    clock_gettime(CLOCK_REALTIME, &t);
    return (long long)t.tv_sec * 1000 + t.tv_nsec / 1000000;
}

int main(int argc, char** argv)
{
    if (argc != 5)
        return 2;
    Display* display = XOpenDisplay(NULL);
    if (!display)
        return 1;
    int event_base, error_base;
    if (!XDamageQueryExtension(display, &event_base, &error_base))
        return 1;
    const Window window = (Window)strtoul(argv[1], NULL, 0);
    const long long end = now_ms() + atoll(argv[2]) * 1000;
    const int top = atoi(argv[3]), bottom = atoi(argv[4]);
    XDamageCreate(display, window, XDamageReportRawRectangles);
    struct pollfd fd = {ConnectionNumber(display), POLLIN, 0};
    while (now_ms() < end) {
        if (!XPending(display) && poll(&fd, 1, 100) <= 0)
            continue;
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != event_base + XDamageNotify)
            continue;
        const XDamageNotifyEvent* damage = (const XDamageNotifyEvent*)&event;
        if (damage->area.y < bottom && damage->area.y + damage->area.height > top)
            printf("%lld\n", now_ms());
    }
    return 0;
}
