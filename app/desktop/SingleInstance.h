#pragma once

#include "app/desktop/LocalChannel.h"

#include <QString>

#include <chrono>
#include <functional>

namespace vostrel {

// One running copy per settings: a later start with the same settings asks
// the running copy to take over (it shows its window) and ends; a copy that
// is gone or does not answer is replaced. A renamed copy, which keeps
// settings of its own, has a running copy of its own.
class SingleInstance final : public QObject {
public:
    // key: the local socket's name or path (see KeyFor).
    explicit SingleInstance(QString key, std::chrono::milliseconds answerWait = std::chrono::seconds(3));

    // Either hands over to the running copy, which then shows itself (false:
    // this copy should end), or becomes the running copy, whose every later
    // start calls onLaterStart (true).
    bool Start(std::function<void()> onLaterStart);

    // Where the copies that share this settings file meet: a socket in the
    // user's runtime folder (a pipe of the user's on Windows).
    static QString KeyFor(const QString& settingsFile);

private:
    QString m_key;
    std::chrono::milliseconds m_answerWait;
    LocalChannel m_channel;
};

} // namespace vostrel
