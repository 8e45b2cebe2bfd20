#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

namespace vostrel {
namespace {

constexpr char kRequest[] = "show\n";
constexpr char kAnswer[] = "shown\n";
constexpr int kConnectWaitMs = 1000;

} // namespace

SingleInstance::SingleInstance(QString key, std::chrono::milliseconds answerWait)
    : m_key(std::move(key)), m_answerWait(answerWait)
{
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::Answer);
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

bool SingleInstance::HandOver()
{
    QLocalSocket running;
    running.connectToServer(m_key);
    if (!running.waitForConnected(kConnectWaitMs))
        return false;
    running.write(kRequest);
    // A copy that hangs may still accept the connection: only its answer counts.
    const auto waitMs = static_cast<int>(m_answerWait.count());
    if (!running.waitForBytesWritten(waitMs))
        return false;
    while (!running.canReadLine()) {
        if (!running.waitForReadyRead(waitMs))
            return false;
    }
    return running.readLine() == kAnswer;
}

bool SingleInstance::Start(std::function<void()> onLaterStart)
{
    // Copies started together take turns, so that they cannot both fail to
    // find a running copy and then take the name from each other. A holder
    // that hangs is waited for only so long.
    const QString lockPath = m_key.contains(u'/') ? m_key + ".lock" : QDir::temp().filePath(m_key + ".lock");
    QLockFile turn(lockPath);
    turn.tryLock(static_cast<int>(2 * m_answerWait.count()));
    if (HandOver())
        return false;
    m_onLaterStart = std::move(onLaterStart);
    Listen();
    return true;
}

void SingleInstance::Listen()
{
    // With access options set, the socket is made aside and renamed into
    // place: it replaces one left by a copy that is gone or no longer
    // answers. Without a socket the program runs on all the same.
    m_server.listen(m_key);
}

void SingleInstance::Answer()
{
    while (QLocalSocket* later = m_server.nextPendingConnection()) {
        connect(later, &QLocalSocket::disconnected, later, &QObject::deleteLater);
        connect(later, &QLocalSocket::readyRead, this, [this, later] {
            if (!later->canReadLine())
                return;
            if (later->readLine() != kRequest) {
                later->disconnectFromServer();
                return;
            }
            later->write(kAnswer);
            later->flush();
            later->disconnectFromServer();
            if (m_onLaterStart)
                m_onLaterStart();
        });
    }
}

} // namespace vostrel
