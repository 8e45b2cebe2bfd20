#include "app/sound/DesktopBell.h"

#include <QApplication>

namespace vostrel {

void DesktopBell::Beep(unsigned, unsigned)
{
    QApplication::beep();
}

} // namespace vostrel
