#include "app/desktop/WindowClass.h"

#include "app/framework/WindowPlatform.h"

#include <QGuiApplication>
#include <QPlatformSurfaceEvent>
#include <QWindow>

#ifdef VOSTREL_HAVE_XCB
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#endif

namespace vostrel {
#ifdef VOSTREL_HAVE_XCB
namespace {

// The native window whose class was last set, kept on the window itself.
constexpr const char* kClassedWindow = "vostrelClassedWindow";

// WM_CLASS holds the instance name and the class name, each ending in a nul.
void SetClass(xcb_connection_t* connection, xcb_window_t window, const QByteArray& className)
{
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(connection, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 1024);
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(connection, cookie, nullptr), &std::free);
    QByteArray instance = QCoreApplication::applicationName().toLocal8Bit();
    if (reply && reply->format == 8) {
        const auto* value = static_cast<const char*>(xcb_get_property_value(reply.get()));
        instance =
            QByteArray(value, xcb_get_property_value_length(reply.get())).split('\0').value(0, instance);
    }
    const QByteArray value = instance + '\0' + className + '\0';
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                        static_cast<std::uint32_t>(value.size()), value.constData());
    xcb_flush(connection);
}

} // namespace

#endif

WindowClass::WindowClass()
{
#ifdef VOSTREL_HAVE_XCB
    if (OnX11())
        QCoreApplication::instance()->installEventFilter(this);
#endif
}

WindowClass::~WindowClass() = default;

bool WindowClass::eventFilter(QObject* watched, QEvent* event)
{
#ifdef VOSTREL_HAVE_XCB
    // Sent once the native window exists, before it is first shown. Qt
    // makes some windows (tooltips) anew as it shows them, without a word:
    // their first exposure tells, by a new window id.
    const bool created = event->type() == QEvent::PlatformSurface &&
                         static_cast<QPlatformSurfaceEvent*>(event)->surfaceEventType() ==
                             QPlatformSurfaceEvent::SurfaceCreated;
    if (created || event->type() == QEvent::Expose) {
        auto* window = qobject_cast<QWindow*>(watched);
        const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        const QString name = QGuiApplication::desktopFileName();
        if (window && window->isTopLevel() && x11 && !name.isEmpty() &&
            window->property(kClassedWindow).value<WId>() != window->winId()) {
            window->setProperty(kClassedWindow, QVariant::fromValue(window->winId()));
            SetClass(x11->connection(), static_cast<xcb_window_t>(window->winId()), name.toLocal8Bit());
        }
    }
#endif
    return QObject::eventFilter(watched, event);
}

} // namespace vostrel
