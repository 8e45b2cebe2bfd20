#include "app/sound/LazyToneSpeaker.h"

#include <QCoreApplication>
#include <QDir>

namespace vostrel {

namespace {
using CreateFunction = Speaker* (*)(Speaker&);
constexpr const char* kModuleName = "vostrel_tone";
} // namespace

LazyToneSpeaker::LazyToneSpeaker(Speaker& fallback, QStringList moduleFolders)
    : m_fallback(fallback), m_folders(std::move(moduleFolders))
{
}

// The tone goes before the module whose code it is.
LazyToneSpeaker::~LazyToneSpeaker()
{
    m_tone.reset();
}

QStringList LazyToneSpeaker::DefaultFolders()
{
    const QString here = QCoreApplication::applicationDirPath();
    return {here, QDir(here).filePath(QStringLiteral(VOSTREL_INSTALLED_MODULES))};
}

void LazyToneSpeaker::Beep(unsigned frequencyHz, unsigned durationMs)
{
    if (!m_tried) {
        m_tried = true;
        for (const QString& folder : m_folders) {
            m_module.setFileName(QDir(folder).filePath(QString::fromLatin1(kModuleName)));
            if (const auto create = reinterpret_cast<CreateFunction>(m_module.resolve("CreateToneSpeaker"))) {
                m_tone.reset(create(m_fallback));
                break;
            }
        }
    }
    if (m_tone)
        m_tone->Beep(frequencyHz, durationMs);
    else
        m_fallback.Beep(frequencyHz, durationMs);
}

} // namespace vostrel
