#pragma once

#include "app/command/LocalChannel.h"
#include "app/command/RemoteRequest.h"
#include "app/command/RemoteState.h"

#include <QString>

#include <chrono>
#include <functional>
#include <optional>

namespace vostrel {

// One running copy per settings: a later start hands its request to the
// running copy (which shows its window, takes a new target, ends or tells
// its countdown) and ends; a copy that is gone or does not answer is
// replaced. A renamed copy, which keeps settings of its own, has a running
// copy of its own.
class SingleInstance final : public QObject {
public:
    // What the running copy does for later starts: act on show, set and
    // quit requests (called after the request has its answer), and tell its
    // countdown (nothing while it has none).
    struct Handlers {
        std::function<void(const RemoteRequest&)> act;
        std::function<std::optional<RemoteState>()> state;
    };

    // key: the local socket's name or path (see KeyFor).
    explicit SingleInstance(QString key, std::chrono::milliseconds answerWait = std::chrono::seconds(3));

    // Either hands the request to the running copy (false: this copy should
    // end), or becomes the running copy, whose later requests go to the
    // handlers (true).
    bool Start(const RemoteRequest& request, Handlers handlers);

    // The running copy's answer to a request, or nothing when none runs or
    // none answers within the waits.
    static std::optional<QByteArray> Ask(const QString& key, const RemoteRequest& request,
                                         std::chrono::milliseconds answerWait = std::chrono::seconds(3));

    // Where the copies that share this settings file meet: a socket in the
    // user's runtime folder (a pipe of the user's on Windows).
    static QString KeyFor(const QString& settingsFile);

private:
    QByteArray Answer(const QByteArray& line);

    QString m_key;
    std::chrono::milliseconds m_answerWait;
    LocalChannel m_channel;
    Handlers m_handlers;
};

} // namespace vostrel
