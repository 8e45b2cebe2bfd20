#include "app/framework/Centring.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace vostrel {

void CentreOverOwner(QWidget& window)
{
    const QWidget* owner = window.parentWidget() ? window.parentWidget()->window() : nullptr;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = owner && owner->isVisible() && !owner->isMinimized() ? owner->frameGeometry()
                       : screen                                             ? screen->availableGeometry()
                                                                            : QRect();
    if (area.isValid())
        window.move(area.center() - window.rect().center());
}

} // namespace vostrel
