#include "app/framework/QtMessages.h"
#include "app/framework/MessageDialog.h"

namespace vostrel {

void QtMessages::Show(QWidget* owner, const QString& text)
{
    MessageDialog(text, owner).exec();
}

} // namespace vostrel
