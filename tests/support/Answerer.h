#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>

namespace vostrel::test {

// Hands the popup or modal box on top to answer, from the event loop, as a user would; after a few seconds
// closes whatever is open, so that the unexpected fails the test instead of hanging it. It asserts nothing.
class Answerer {
public:
    explicit Answerer(std::function<void(QWidget* top)> answer) : m_answer(std::move(answer))
    {
        QObject::connect(&m_poll, &QTimer::timeout, [this] { Poll(); });
        m_poll.start(10);
        QTimer::singleShot(5000, &m_poll, [this] { m_gaveUp = true; });
    }

    // Something stayed open that the answer did not deal with.
    bool GaveUp() const { return m_gaveUp; }

private:
    void Poll()
    {
        QWidget* top = QApplication::activePopupWidget();
        if (!top)
            top = QApplication::activeModalWidget();
        if (top && !m_gaveUp)
            m_answer(top);
        else if (auto* dialog = qobject_cast<QDialog*>(top))
            dialog->reject();
        else if (top)
            top->close();
    }

    std::function<void(QWidget*)> m_answer;
    QTimer m_poll;
    bool m_gaveUp = false;
};

} // namespace vostrel::test
