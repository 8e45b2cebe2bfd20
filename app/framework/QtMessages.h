#pragma once

#include "app/framework/Messages.h"

namespace vostrel {

// Message boxes of the program's own window framework.
class QtMessages final : public Messages {
public:
    void Show(QWidget* owner, const QString& text) override;
};

} // namespace vostrel
