/* Starts a program and prints "PID MILLISECONDS": the time from just before
 * the program is started until the tray host has taken its icon in (the
 * host reparents the icon's window into its panel). It waits for the X
 * server's notice rather than polling, so it takes no processor time from
 * the program it measures. The program is left running.
 * Usage: embed_watch PROGRAM [ARGUMENT...]   (exit 1 when the program ends
 * or ten seconds pass without an icon). */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <stdio.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

/* Whether the window's name is "panel" and its class "trayer". */
static int is_tray_panel(Display* display, Window window)
{
    XClassHint hint = {NULL, NULL};
    if (!XGetClassHint(display, window, &hint))
        return 0;
    const int found = hint.res_name && hint.res_class && strcmp(hint.res_name, "panel") == 0 &&
                      strcmp(hint.res_class, "trayer") == 0;
    XFree(hint.res_name);
    XFree(hint.res_class);
    return found;
}

/* Whether the window lies inside the tray host's panel. */
static int in_tray_panel(Display* display, Window window)
{
    Window root, parent, *children;
    unsigned count;
    while (window && !is_tray_panel(display, window)) {
        if (!XQueryTree(display, window, &root, &parent, &children, &count))
            return 0;
        if (children)
            XFree(children);
        if (window == root)
            return 0;
        window = parent;
    }
    return window != 0;
}

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    Display* display = XOpenDisplay(NULL);
    if (!display)
        return 1;
    /* The icon's window starts as a child of the root window: leaving it
     * is reported to whoever watches the root's children. */
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const double start = now_ms();
    const pid_t pid = fork();
    if (pid == 0) {
        close(ConnectionNumber(display));
        freopen("/dev/null", "w", stdout);
        freopen("/dev/null", "w", stderr);
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    struct pollfd fd = {ConnectionNumber(display), POLLIN, 0};
    while (now_ms() - start < 10000) {
        if (!XPending(display)) {
            if (waitpid(pid, NULL, WNOHANG) == pid) {
                fprintf(stderr, "%s ended during start-up\n", argv[1]);
                return 1;
            }
            poll(&fd, 1, 100);
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        const double seen = now_ms();
        if (event.type == ReparentNotify && in_tray_panel(display, event.xreparent.parent)) {
            printf("%d %.1f\n", (int)pid, seen - start);
            return 0;
        }
    }
    fprintf(stderr, "%s: no tray icon within ten seconds\n", argv[1]);
    return 1;
}
