#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace vostrel {

// A place where one process of the user's answers one-line requests from
// others: a local stream socket that only the user may reach (a named pipe
// on Windows). Qt Network would bring its own libraries (Kerberos, proxies)
// into every start for this one use; these few calls do without them.
class LocalChannel final : public QObject {
public:
    using Answer = std::function<QByteArray(const QByteArray& request)>;

    explicit LocalChannel(QString name);
    ~LocalChannel() override;

    // Listens on the name, taking it over from whatever stands there; each
    // request line gets the answer's line back.
    bool Listen(Answer answer);

    // Sends a request line to whoever listens on the name; its answer line,
    // or nothing when none comes within the waits.
    static std::optional<QByteArray> Ask(const QString& name, const QByteArray& request, int connectWaitMs,
                                         int answerWaitMs);

private:
    struct Listener;
    void Accept();

    QString m_name;
    std::unique_ptr<Listener> m_listener;
};

} // namespace vostrel
