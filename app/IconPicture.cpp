#include "IconPicture.h"

#include <QIcon>
#include <QMouseEvent>

namespace vostrel {

namespace {
constexpr int kStandardIconSize = 32;
}

IconPicture::IconPicture(const QIcon& icon, bool reportsClicks, QWidget* parent)
    : QLabel(parent), m_reportsClicks(reportsClicks)
{
    setPixmap(icon.pixmap(kStandardIconSize, kStandardIconSize));
    setAlignment(Qt::AlignCenter);
}

void IconPicture::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (m_reportsClicks && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

} // namespace vostrel
