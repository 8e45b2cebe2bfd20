#include "app/command/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

namespace vostrel {
namespace {
constexpr int kConnectWaitMs = 1000;
} // namespace

SingleInstance::SingleInstance(QString key, std::chrono::milliseconds answerWait)
    : m_key(std::move(key)), m_answerWait(answerWait), m_channel(m_key)
{
}

QString SingleInstance::KeyFor(const QString& settingsFile)
{
    // Named after the settings, short enough for a socket's path.
    const QString name =
        QFileInfo(settingsFile).completeBaseName() + u'-' +
        QCryptographicHash::hash(settingsFile.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
#ifdef Q_OS_WIN
    // Pipe names are seen by every user of the machine; registry paths are
    // the same for all of them.
    return name + u'-' + qEnvironmentVariable("USERNAME");
#else
    // The runtime folder is the user's own (mode 0700), in every session.
    return QDir(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)).filePath(name + ".socket");
#endif
}

std::optional<QByteArray> SingleInstance::Ask(const QString& key, const RemoteRequest& request,
                                              std::chrono::milliseconds answerWait)
{
    return LocalChannel::Ask(key, request.Encode(), kConnectWaitMs, static_cast<int>(answerWait.count()));
}

bool SingleInstance::Start(const RemoteRequest& request, Handlers handlers)
{
    // Copies started together take turns, so that they cannot both fail to
    // find a running copy and then take the name from each other. A holder
    // that hangs is waited for only so long.
    const QString lockPath = m_key.contains(u'/') ? m_key + ".lock" : QDir::temp().filePath(m_key + ".lock");
    QLockFile turn(lockPath);
    turn.tryLock(2 * static_cast<int>(m_answerWait.count()));
    // A copy that hangs may still take the connection: only its answer counts.
    if (Ask(m_key, request, m_answerWait) == ExpectedAnswer(request.kind))
        return false;
    m_handlers = std::move(handlers);
    // Without the channel the program runs on all the same.
    m_channel.Listen([this](const QByteArray& line) { return Answer(line); });
    return true;
}

QByteArray SingleInstance::Answer(const QByteArray& line)
{
    const std::optional<RemoteRequest> request = RemoteRequest::Decode(line);
    if (!request)
        return kRefusedAnswer;
    if (request->kind == RemoteRequest::Kind::state) {
        const std::optional<RemoteState> state = m_handlers.state ? m_handlers.state() : std::nullopt;
        return state ? state->Encode() : kRefusedAnswer;
    }
    // Acted on once the later copy has its answer and can end.
    if (m_handlers.act)
        QMetaObject::invokeMethod(
            this, [act = m_handlers.act, done = *request] { act(done); }, Qt::QueuedConnection);
    return ExpectedAnswer(request->kind);
}

} // namespace vostrel
