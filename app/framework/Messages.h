#pragma once

#include <QString>

class QWidget;

namespace vostrel {

// Message boxes with one OK button and no icon, captioned with the
// application's name; returns when the box is closed.
class Messages {
public:
    virtual ~Messages() = default;
    virtual void Show(QWidget* owner, const QString& text) = 0;
};

} // namespace vostrel
