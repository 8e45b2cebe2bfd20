#include "CSystemTray.h"

namespace vostrel {

bool CSystemTray::AddToTray(QWidget*, unsigned, const std::string&, res::IconHandle, unsigned)
{
    return false;
}

bool CSystemTray::ChangeIcon(res::IconHandle)
{
    return false;
}

bool CSystemTray::ChangeTip(const std::string&)
{
    return false;
}

bool CSystemTray::SetDefaultEntry(unsigned, bool)
{
    return true;
}

bool CSystemTray::LoadIconRange(unsigned, unsigned)
{
    return false;
}

bool CSystemTray::StartCycle(unsigned, unsigned)
{
    return false;
}

} // namespace vostrel
