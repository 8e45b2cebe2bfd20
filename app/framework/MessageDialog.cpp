#include "app/framework/MessageDialog.h"

#include "app/framework/Centring.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace vostrel {

MessageDialog::MessageDialog(const QString& text, QWidget* owner) : QDialog(owner)
{
    setWindowTitle(QApplication::applicationName());
    setWindowModality(Qt::WindowModal);

    auto* label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(false);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setContentsMargins(8, 8, 8, 8);
    auto* scroller = new QScrollArea;
    scroller->setWidget(label);
    scroller->setWidgetResizable(true);
    scroller->setFrameShape(QFrame::NoFrame);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroller);
    layout->addWidget(buttons, 0, Qt::AlignCenter);

    // As large as the text needs, as far as the work area allows.
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    const QSize room = screen ? screen->availableGeometry().size() * 0.9 : QSize(640, 480);
    const int scrollBar = scroller->verticalScrollBar()->sizeHint().width();
    const QSize wanted = label->sizeHint() + QSize(scrollBar, 0) +
                         QSize(0, buttons->sizeHint().height() + layout->spacing()) +
                         QSize(layout->contentsMargins().left() + layout->contentsMargins().right(),
                               layout->contentsMargins().top() + layout->contentsMargins().bottom());
    resize(wanted.boundedTo(room));
}

void MessageDialog::showEvent(QShowEvent* event)
{
    CentreOverOwner(*this);
    QDialog::showEvent(event);
}

} // namespace vostrel
