#include "MessageDialog.h"
#include "Messages.h"

namespace vostrel {

void QtMessages::Show(QWidget* owner, const QString& text)
{
    MessageDialog(text, owner).exec();
}

} // namespace vostrel
