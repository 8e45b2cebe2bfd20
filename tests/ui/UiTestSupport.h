#pragma once

#include "CountdownDlg.h"
#include "EngineTestSupport.h"
#include "Messages.h"
#include "ProfileStore.h"
#include "RecordingNotifyArea.h"
#include "Speaker.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <map>
#include <ostream>
#include <string>
#include <vector>

// Lets test failures show texts as texts.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace vostrel::test {

class RecordingSpeaker final : public Speaker {
public:
    void Beep(unsigned hz, unsigned ms) override { beeps.push_back({hz, ms}); }
    std::vector<std::pair<unsigned, unsigned>> beeps;
};

class RecordingMessages final : public Messages {
public:
    void Show(QWidget*, const QString& text) override { shown.append(text); }
    QStringList shown;
};

// Settings kept in memory under "section/name", integers and texts apart.
class MemoryStore final : public ProfileStore {
    using Name = std::string_view;
    static std::string Key(Name section, Name name) { return std::string(section) + "/" + std::string(name); }
    template <typename T> static T Read(const std::map<std::string, T>& map, Name s, Name n, T fallback)
    {
        const auto found = map.find(Key(s, n));
        return found == map.end() ? fallback : found->second;
    }

public:
    std::int32_t ReadInt(Name s, Name n, std::int32_t dflt) override { return Read(ints, s, n, dflt); }
    std::string ReadText(Name s, Name n, Name dflt) override { return Read(texts, s, n, std::string(dflt)); }
    void WriteInt(Name s, Name n, std::int32_t value) override { ints[Key(s, n)] = value; }
    void WriteText(Name s, Name n, Name value) override { texts[Key(s, n)] = std::string(value); }

    std::map<std::string, std::int32_t> ints;
    std::map<std::string, std::string> texts;
};

// While it lives, answers each menu and modal box that opens as a user
// would: chooses the menu's entry at a position, closes a box with Escape,
// and notes what each showed.
class Answerer {
public:
    explicit Answerer(int entry = 0)
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this, entry] {
            QStringList shown;
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                for (const QAction* action : menu->actions())
                    shown.append(action->isSeparator() ? "-" : action->text());
                if (menu->defaultAction())
                    shown.append("default " + menu->defaultAction()->text());
                seen.append(shown.join('|'));
                QTest::mouseClick(menu, Qt::LeftButton, {},
                                  menu->actionGeometry(menu->actions().at(entry)).center());
            } else if (QWidget* box = QApplication::activeModalWidget()) {
                shown.append(box->windowTitle());
                for (const QLabel* label : box->findChildren<QLabel*>())
                    shown.append(label->pixmap().isNull() ? label->text() : "[picture]");
                for (const QAbstractButton* button : box->findChildren<QAbstractButton*>())
                    shown.append(button->text());
                seen.append(shown.join('|'));
                QTest::keyClick(box, Qt::Key_Escape);
            }
        });
        m_timer.start(20);
    }
    QStringList seen;

private:
    QTimer m_timer;
};

// A clock the test sets, down to how far into its second it is.
struct SettableClock final : Clock {
    OleDate Now() const override { return now; }
    int MillisecondsIntoSecond() const override { return milliseconds; }
    OleDate now = At(2026, 12, 6, 10);
    int milliseconds = 0;
};

// A countdown window with every service faked, at 10:00 on 6 December 2026.
struct DialogFixture {
    SettableClock clock;
    RecordingSpeaker speaker;
    MemoryStore store;
    RecordingMessages messages;
    RecordingNotifyArea notifyArea;
    Application app;

    CountdownServices Services() { return {clock, speaker, store, messages, notifyArea, app}; }
};

} // namespace vostrel::test
