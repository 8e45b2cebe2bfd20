#include "app/framework/IconPicture.h"

#include <QIcon>
#include <QMouseEvent>

namespace vostrel {

IconPicture::IconPicture(const QIcon& icon, bool reportsClicks, QWidget* parent)
    : QLabel(parent), m_reportsClicks(reportsClicks)
{
    setPixmap(icon.pixmap(kIconSize, kIconSize));
    setAlignment(Qt::AlignCenter);
}

void IconPicture::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (m_reportsClicks && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

} // namespace vostrel
