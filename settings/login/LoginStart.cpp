#include "settings/login/LoginStart.h"

#include <QCoreApplication>

#ifdef Q_OS_WIN
#include "settings/login/RunKeyStart.h"
#else
#include "settings/login/XdgAutostart.h"
#endif

namespace vostrel {

std::unique_ptr<LoginStart> LoginStartForThisProgram()
{
#ifdef Q_OS_WIN
    return std::make_unique<RunKeyStart>(QCoreApplication::applicationFilePath());
#else
    return std::make_unique<XdgAutostart>(XdgAutostart::UserFolder(),
                                          QCoreApplication::applicationFilePath());
#endif
}

} // namespace vostrel
