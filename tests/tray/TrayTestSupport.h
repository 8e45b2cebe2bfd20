#pragma once

#include "MainWindow.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QObject>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <vector>

namespace vostrel::test {

// A main window that records the commands it receives.
class CommandRecorder final : public CommandWindow {
public:
    void SendCommand(unsigned id) override { commands.push_back(id); }
    QWidget* Widget() override { return &widget; }
    std::vector<unsigned> commands;
    QWidget widget;
};

// Waits, a few seconds at most, for a condition; whether it came true.
bool WaitUntil(const std::function<bool()>& condition);

// The connection the test's desktop side speaks on, apart from the
// program's. Calls from it to the program's objects in this same process
// must not block: the program answers only from the event loop.
QDBusConnection DesktopBus();

// Calls a method from the desktop's side; the answer, or an error once a
// few seconds have passed without one.
QDBusMessage Call(const QString& service, const QString& path, const QString& interface,
                  const QString& method, const QVariantList& arguments = {});
// Every property of an interface of an object, as a host reads them.
QVariantMap Properties(const QString& service, const QString& path, const QString& interface);

// The desktop's StatusNotifierWatcher, for as long as it lives.
// It says whether a host shows items, as waybar's does, which has none for
// a moment after it starts.
class TestWatcher final : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ HostRegistered)
public:
    explicit TestWatcher(std::function<void(const QString&)> onRegister = {}, bool hostRegistered = true);
    ~TestWatcher() override;

    bool HostRegistered() const
    {
        ++hostQuestions;
        return hostRegistered;
    }
    // A host registers, and the watcher says so.
    void RegisterHost();

    QStringList registered; // the names items registered, in order
    bool hostRegistered;
    mutable int hostQuestions = 0;

public slots:
    Q_SCRIPTABLE void RegisterStatusNotifierItem(const QString& service);

signals:
    Q_SCRIPTABLE void StatusNotifierHostRegistered();

private:
    std::function<void(const QString&)> m_onRegister;
};

// The signals an item's bus name sends, as hosts hear them: every signal of
// the tray's interfaces.
class SignalLog final : public QObject {
    Q_OBJECT
public:
    explicit SignalLog(const QString& service);
    QStringList Names() const;

    QList<QDBusMessage> messages;

public slots:
    void Heard(const QDBusMessage& message) { messages.append(message); }
};

} // namespace vostrel::test
