#pragma once

class QWidget;

namespace vostrel {

// Centres a window over its owner when the owner is on screen, else over
// the work area of the screen, as dialogs without a position of their own
// open.
void CentreOverOwner(QWidget& window);

} // namespace vostrel
