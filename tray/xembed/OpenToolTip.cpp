#include "tray/xembed/OpenToolTip.h"

#include <QCursor>
#include <QToolTip>

namespace vostrel {

void ReplaceOpenToolTip(const QString& shown, const QString& replacement)
{
    if (replacement == shown || !QToolTip::isVisible() || QToolTip::text() != shown)
        return;
    // The tooltip opened by the pointer, which is still on the icon: Qt
    // reuses the open tooltip and places it by the pointer as it did then.
    QToolTip::showText(QCursor::pos(), replacement);
}

} // namespace vostrel
