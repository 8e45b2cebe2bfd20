#include "Messages.h"

#include <QApplication>
#include <QMessageBox>

namespace vostrel {

void QtMessages::Show(QWidget* owner, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
}

} // namespace vostrel
