// The channel as a named pipe, through Qt's local sockets (Qt Network is
// part of every Windows installation of Qt).
#include "app/command/LocalChannel.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace vostrel {

struct LocalChannel::Listener {
    QLocalServer server;
    Answer answer;
};

LocalChannel::LocalChannel(QString name) : m_name(std::move(name))
{
}

LocalChannel::~LocalChannel() = default;

bool LocalChannel::Listen(Answer answer)
{
    auto listener = std::make_unique<Listener>();
    listener->answer = std::move(answer);
    listener->server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!listener->server.listen(m_name))
        return false;
    connect(&listener->server, &QLocalServer::newConnection, this, [this] { Accept(); });
    m_listener = std::move(listener);
    return true;
}

void LocalChannel::Accept()
{
    while (QLocalSocket* later = m_listener->server.nextPendingConnection()) {
        connect(later, &QLocalSocket::disconnected, later, &QObject::deleteLater);
        connect(later, &QLocalSocket::readyRead, this, [this, later] {
            if (!later->canReadLine())
                return;
            later->write(m_listener->answer(later->readLine().chopped(1)) + '\n');
            later->flush();
            later->disconnectFromServer();
        });
    }
}

std::optional<QByteArray> LocalChannel::Ask(const QString& name, const QByteArray& request, int connectWaitMs,
                                            int answerWaitMs)
{
    QLocalSocket running;
    running.connectToServer(name);
    if (!running.waitForConnected(connectWaitMs))
        return std::nullopt;
    running.write(request + '\n');
    if (!running.waitForBytesWritten(answerWaitMs))
        return std::nullopt;
    while (!running.canReadLine()) {
        if (!running.waitForReadyRead(answerWaitMs))
            return std::nullopt;
    }
    return running.readLine().chopped(1);
}

} // namespace vostrel
