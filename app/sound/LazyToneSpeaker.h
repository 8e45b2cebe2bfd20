#pragma once

#include "app/sound/Speaker.h"

#include <QLibrary>
#include <QStringList>

#include <memory>

namespace vostrel {

// Plays the alarm through the tone module, which brings Qt Multimedia and
// the audio system with it: it is loaded at the first beep, not at start.
// Without the module the fallback (the desktop's bell) rings.
class LazyToneSpeaker final : public Speaker {
public:
    // The module is looked for in these folders, in order.
    LazyToneSpeaker(Speaker& fallback, QStringList moduleFolders);
    ~LazyToneSpeaker() override;

    void Beep(unsigned frequencyHz, unsigned durationMs) override;
    bool Loaded() const { return m_tone != nullptr; }

    // Where the program looks: beside the executable, then the library
    // folder of an installed copy.
    static QStringList DefaultFolders();

private:
    Speaker& m_fallback;
    QStringList m_folders;
    QLibrary m_module;
    std::unique_ptr<Speaker> m_tone;
    bool m_tried = false;
};

} // namespace vostrel
