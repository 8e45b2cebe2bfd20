#include "app/command/WindowModule.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include <cstdio>

namespace vostrel {
namespace {

using RunFunction = int (*)(int, char**, const char*);
constexpr char kModuleName[] = "vostrel_window";

// The executable's folder, read before any application object exists.
QString ExecutableFolder(const char* argv0)
{
    const QFileInfo running(QStringLiteral("/proc/self/exe"));
    if (running.isSymLink())
        return QFileInfo(running.symLinkTarget()).absolutePath();
    return QFileInfo(QString::fromLocal8Bit(argv0)).absolutePath();
}

} // namespace

int RunWindowModule(int argc, char** argv, const std::optional<RemoteRequest>& request)
{
    const QString here = ExecutableFolder(argc > 0 ? argv[0] : "");
    QLibrary module;
    QString failure;
    for (const QString& folder : {here, QDir(here).filePath(QStringLiteral(VOSTREL_INSTALLED_MODULES))}) {
        module.setFileName(QDir(folder).filePath(QString::fromLatin1(kModuleName)));
        if (const auto run = reinterpret_cast<RunFunction>(module.resolve("RunCountdownWindow")))
            return run(argc, argv, request ? request->Encode().constData() : nullptr);
        if (failure.isEmpty())
            failure = module.errorString();
    }
    std::fprintf(stderr, "%s: cannot load the program's window: %s\n",
                 argc > 0 ? QFileInfo(QString::fromLocal8Bit(argv[0])).fileName().toLocal8Bit().constData()
                          : "",
                 failure.toLocal8Bit().constData());
    return 1;
}

} // namespace vostrel
