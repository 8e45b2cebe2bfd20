#pragma once

#include "app/framework/TemplateDialog.h"

namespace vostrel {

// The About box: the program's name, version and maker, and an OK button.
class CAboutDlg final : public TemplateDialog {
    Q_OBJECT
public:
    CAboutDlg(Messages& messages, QWidget* owner);

protected:
    void OnNotify(int controlId, Notification code) override;
};

} // namespace vostrel
