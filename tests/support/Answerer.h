#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>

namespace vostrel::test {

// Answers the popup menus and modal boxes that a call under test opens, from
// the event loop, as a user would: answer is handed the popup or box on top
// and acts on it. Whatever is still open after a few seconds is closed, so
// that a call showing something unexpected makes the test fail instead of
// waiting forever; nothing here asserts inside the loop.
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
