#include "app/framework/WindowPlatform.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace vostrel {
namespace {

// Waits for a window's first exposure, then runs its action once.
class ExposureWatch final : public QObject {
public:
    ExposureWatch(QWindow& window, QObject& context, std::function<void()> action)
        : QObject(&context), m_window(window), m_action(std::move(action))
    {
        m_window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &m_window && event->type() == QEvent::Expose && m_window.isExposed()) {
            m_window.removeEventFilter(this);
            // After the exposure has been handled, as a new window draws first.
            QMetaObject::invokeMethod(parent(), m_action, Qt::QueuedConnection);
            deleteLater();
        }
        return false;
    }

private:
    QWindow& m_window;
    std::function<void()> m_action;
};

} // namespace

bool IsX11Platform(std::string_view platform)
{
    return platform.starts_with("xcb");
}

bool IsWaylandPlatform(std::string_view platform)
{
    return platform.starts_with("wayland");
}

bool OnX11()
{
    return IsX11Platform(QGuiApplication::platformName().toStdString());
}

bool OnDesktopPlatform()
{
    const std::string platform = QGuiApplication::platformName().toStdString();
    return IsX11Platform(platform) || IsWaylandPlatform(platform) || platform == "windows" ||
           platform == "cocoa";
}

bool PlatformPlacesWindows()
{
    return !IsWaylandPlatform(QGuiApplication::platformName().toStdString());
}

bool IsOnScreen(const QWidget& window)
{
    const QWindow* handle = window.windowHandle();
    return window.isVisible() && handle && handle->isExposed();
}

void WhenOnScreen(QWidget& window, QObject& context, std::function<void()> action)
{
    QWindow* handle = window.windowHandle();
    if (!handle || !window.isVisible())
        return;
    if (handle->isExposed())
        QMetaObject::invokeMethod(&context, std::move(action), Qt::QueuedConnection);
    else
        new ExposureWatch(*handle, context, std::move(action));
}

} // namespace vostrel
