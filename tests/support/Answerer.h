#pragma once

#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QTimer>

#include <functional>

namespace vostrel::test {

// Answers the popup menus and modal boxes that a call under test opens, from
// the event loop, as a user would. Whatever is still open after a while is
// closed, so that a call showing something unexpected makes the test fail
// instead of waiting forever; nothing here asserts inside the loop.
class Answerer {
public:
    // answer sees the popup or box on top and acts on it; it is asked again
    // until it has acted (returned true) on everything that opens.
    explicit Answerer(std::function<bool(QWidget* top)> answer, int giveUpMs = 5000)
        : m_answer(std::move(answer))
    {
        QObject::connect(&m_poll, &QTimer::timeout, [this] { Poll(); });
        m_poll.start(10);
        m_deadline.setSingleShot(true);
        QObject::connect(&m_deadline, &QTimer::timeout, [this] { m_gaveUp = true; });
        m_deadline.start(giveUpMs);
    }

    // Something stayed open that the answer did not deal with.
    bool GaveUp() const { return m_gaveUp; }

private:
    void Poll()
    {
        QWidget* top = QApplication::activePopupWidget();
        if (!top)
            top = QApplication::activeModalWidget();
        if (!top)
            return;
        if (m_gaveUp) {
            if (auto* dialog = qobject_cast<QDialog*>(top))
                dialog->reject();
            else
                top->close();
            return;
        }
        m_answer(top);
    }

    std::function<bool(QWidget*)> m_answer;
    QTimer m_poll;
    QTimer m_deadline;
    bool m_gaveUp = false;
};

} // namespace vostrel::test
