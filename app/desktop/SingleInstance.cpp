#include "app/desktop/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

namespace vostrel {
namespace {

const QByteArray kRequest = QByteArrayLiteral("show");
const QByteArray kAnswer = QByteArrayLiteral("shown");
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

bool SingleInstance::Start(std::function<void()> onLaterStart)
{
    // Copies started together take turns, so that they cannot both fail to
    // find a running copy and then take the name from each other. A holder
    // that hangs is waited for only so long.
    const QString lockPath = m_key.contains(u'/') ? m_key + ".lock" : QDir::temp().filePath(m_key + ".lock");
    QLockFile turn(lockPath);
    const auto waitMs = static_cast<int>(m_answerWait.count());
    turn.tryLock(2 * waitMs);
    // A copy that hangs may still take the connection: only its answer counts.
    if (LocalChannel::Ask(m_key, kRequest, kConnectWaitMs, waitMs) == kAnswer)
        return false;
    // Without the channel the program runs on all the same.
    m_channel.Listen([this, show = std::move(onLaterStart)](const QByteArray& request) {
        if (request != kRequest)
            return QByteArray();
        // Shown once the later copy has its answer and can end.
        if (show)
            QMetaObject::invokeMethod(this, show, Qt::QueuedConnection);
        return kAnswer;
    });
    return true;
}

} // namespace vostrel
