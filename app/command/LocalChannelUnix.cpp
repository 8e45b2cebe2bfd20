// The channel as a Unix domain socket in the user's own folder.
#include "app/command/LocalChannel.h"

#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <memory>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace vostrel {
namespace {

// A request or an answer is a short line; anything longer is not ours.
constexpr qsizetype kMaxLine = 256;

bool AddressOf(const QString& name, sockaddr_un& address)
{
    const QByteArray path = QFile::encodeName(name);
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || static_cast<std::size_t>(path.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    return true;
}

// Waits for an event on a descriptor; false on a timeout or an error.
bool WaitFor(int fd, short events, int waitMs)
{
    pollfd watched{fd, events, 0};
    int ready = 0;
    do {
        ready = ::poll(&watched, 1, waitMs);
    } while (ready < 0 && errno == EINTR);
    return ready == 1 && (watched.revents & events);
}

// Whether the process at the other end runs as this process's user. The
// socket's folder and mode keep others out already; this holds even where
// the folder is shared or the mode was changed.
bool PeerIsThisUser(int fd)
{
#ifdef SO_PEERCRED
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::geteuid();
#else
    uid_t uid = 0;
    gid_t gid = 0;
    return ::getpeereid(fd, &uid, &gid) == 0 && uid == ::geteuid();
#endif
}

// Owns a descriptor.
struct Descriptor {
    int fd = -1;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

struct LocalChannel::Listener {
    Descriptor socket;
    ino_t node = 0; // the socket file this process put in place
    Answer answer;
};

LocalChannel::LocalChannel(QString name) : m_name(std::move(name))
{
}

LocalChannel::~LocalChannel()
{
    if (!m_listener)
        return;
    // The name stays with a later copy that took it over.
    const QByteArray path = QFile::encodeName(m_name);
    struct stat status {};
    if (::stat(path.constData(), &status) == 0 && status.st_ino == m_listener->node)
        ::unlink(path.constData());
}

bool LocalChannel::Listen(Answer answer)
{
    sockaddr_un address{};
    sockaddr_un aside{};
    if (!AddressOf(m_name, address) ||
        !AddressOf(m_name + QStringLiteral(".%1").arg(QCoreApplication::applicationPid()), aside))
        return false;
    auto listener = std::make_unique<Listener>();
    listener->socket.fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listener->socket.fd < 0)
        return false;
    // Made aside, closed to others, then renamed into place: in one step it
    // replaces a socket left by a copy that is gone or no longer answers.
    ::unlink(aside.sun_path);
    struct stat status {};
    if (::bind(listener->socket.fd, reinterpret_cast<const sockaddr*>(&aside), sizeof aside) != 0 ||
        ::chmod(aside.sun_path, S_IRUSR | S_IWUSR) != 0 || ::listen(listener->socket.fd, 8) != 0 ||
        ::rename(aside.sun_path, address.sun_path) != 0 || ::stat(address.sun_path, &status) != 0) {
        ::unlink(aside.sun_path);
        return false;
    }
    listener->node = status.st_ino;
    listener->answer = std::move(answer);
    auto* accepting = new QSocketNotifier(listener->socket.fd, QSocketNotifier::Read, this);
    connect(accepting, &QSocketNotifier::activated, this, [this] { Accept(); });
    m_listener = std::move(listener);
    return true;
}

void LocalChannel::Accept()
{
    int fd = -1;
    while ((fd = ::accept4(m_listener->socket.fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK)) >= 0) {
        if (!PeerIsThisUser(fd)) {
            ::close(fd); // another user's request: refused unread
            continue;
        }
        auto* reading = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        auto received = std::make_shared<QByteArray>();
        connect(reading, &QSocketNotifier::activated, this, [this, reading, received, fd] {
            char buffer[kMaxLine];
            const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
            if (got < 0 && errno == EAGAIN)
                return;
            if (got > 0)
                received->append(buffer, got);
            const qsizetype end = received->indexOf('\n');
            if (end < 0 && got > 0 && received->size() < kMaxLine)
                return; // the rest of the line is on its way
            if (end >= 0) {
                const QByteArray reply = m_listener->answer(received->left(end)) + '\n';
                ::send(fd, reply.constData(), static_cast<std::size_t>(reply.size()), MSG_NOSIGNAL);
            }
            reading->setEnabled(false);
            ::close(fd);
            reading->deleteLater();
        });
    }
}

std::optional<QByteArray> LocalChannel::Ask(const QString& name, const QByteArray& request, int connectWaitMs,
                                            int answerWaitMs)
{
    sockaddr_un address{};
    if (!AddressOf(name, address))
        return std::nullopt;
    const Descriptor socket{::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0)};
    if (socket.fd < 0)
        return std::nullopt;
    // A copy that hangs stops taking connections once its queue is full:
    // never wait on it without a bound.
    if (::connect(socket.fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 &&
        !(errno == EAGAIN && WaitFor(socket.fd, POLLOUT, connectWaitMs)))
        return std::nullopt;
    const QByteArray line = request + '\n';
    if (::send(socket.fd, line.constData(), static_cast<std::size_t>(line.size()), MSG_NOSIGNAL) !=
        line.size())
        return std::nullopt;
    QByteArray answer;
    while (!answer.contains('\n')) {
        char buffer[kMaxLine];
        if (answer.size() >= kMaxLine || !WaitFor(socket.fd, POLLIN, answerWaitMs))
            return std::nullopt;
        const ssize_t got = ::recv(socket.fd, buffer, sizeof buffer, 0);
        if (got <= 0)
            return std::nullopt;
        answer.append(buffer, got);
    }
    return answer.left(answer.indexOf('\n'));
}

} // namespace vostrel
