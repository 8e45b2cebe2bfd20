#include "ui/AboutDlg.h"

#include "resources/ResourceIds.h"

namespace vostrel {

CAboutDlg::CAboutDlg(Messages& messages, QWidget* owner) : TemplateDialog(res::IDD_ABOUTBOX, messages, owner)
{
}

void CAboutDlg::OnNotify(int controlId, Notification code)
{
    if (controlId == res::IDOK && code == Notification::clicked)
        accept();
}

} // namespace vostrel
