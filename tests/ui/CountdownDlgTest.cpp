#include "ui/CountdownDlg.h"

#include "app/command/CountdownFigure.h"
#include "resources/ResourceIds.h"
#include "settings/login/XdgAutostart.h"
#include "tests/support/Answerer.h"
#include "tests/support/Files.h"
#include "tests/support/FixedClock.h"
#include "tests/support/MemoryStore.h"
#include "tests/support/Recorders.h"

#include <QtTest>
#include <QtWidgets>

#include <gtest/gtest.h>

using namespace vostrel;
using namespace vostrel::res;

namespace {

using test::At;

// Counts the events of one type an object receives.
class EventCounter final : public QObject {
public:
    EventCounter(QObject& watched, QEvent::Type type) : m_type(type) { watched.installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        count += event->type() == m_type;
        return false;
    }

private:
    QEvent::Type m_type;
};

// A countdown window with every service faked, at 10:00 on 6 December 2026.
class CountdownWindow : public testing::Test {
protected:
    // Starts the window as the modal run would, without the run's loop.
    CCountdownDlg& Start()
    {
        dialog = std::make_unique<CCountdownDlg>(
            CountdownServices{clock, speaker, store, messages, notifier, trayArea, app, loginStart,
                              placesWindows, [this](const QWidget&) { return onScreen; }});
        dialog->Start();
        QApplication::processEvents();
        return *dialog;
    }

    // Shows the window and gives it the keyboard, as a user who opened it.
    void Open()
    {
        dialog->OnCommand(ID_UPDATE_TIMER);
        QApplication::setActiveWindow(dialog.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }

    // The window's refresh timer as the event loop holds it, and a tick of it
    // delivered at once rather than waited for.
    QAbstractEventDispatcher::TimerInfo RefreshTimer()
    {
        const auto timers = QAbstractEventDispatcher::instance()->registeredTimers(dialog.get());
        EXPECT_EQ(timers.size(), 1);
        return timers.value(0, {0, 0, Qt::PreciseTimer});
    }
    void Tick()
    {
        QTimerEvent tick(RefreshTimer().timerId);
        QApplication::sendEvent(dialog.get(), &tick);
    }

    QLineEdit* Edit(int id) { return dialog->Item<QLineEdit>(id); }
    QString Display() { return dialog->Item<QLabel>(IDC_DISPLAY)->text(); }
    void Type(int id, const QString& text)
    {
        Edit(id)->setFocus();
        Edit(id)->selectAll();
        QTest::keyClicks(Edit(id), text);
    }
    // Opens the background menu, chooses the entry of this text or closes it; the
    // entries with their check marks, and the title of any box opened.
    QStringList Menu(const QString& choose)
    {
        QStringList seen;
        const test::Answerer answerer([&seen, &choose](QWidget* top) {
            auto* menu = qobject_cast<QMenu*>(top);
            if (!menu) {
                seen.append(top->windowTitle());
                return QTest::keyClick(top, Qt::Key_Escape);
            }
            QAction* chosen = nullptr;
            for (QAction* entry : menu->actions()) {
                const char* mark = entry->isChecked() ? " [x]" : " [ ]";
                seen.append(entry->text() + (entry->isCheckable() ? mark : ""));
                chosen = entry->text() == choose ? entry : chosen;
            }
            if (chosen)
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(chosen).center());
            else
                menu->close();
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), dialog->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(dialog.get(), &event);
        EXPECT_FALSE(answerer.GaveUp());
        return seen;
    }
    void StoreTarget(const char* target, int unit = unitDays)
    {
        store.texts["Settings/EndDate"] = target;
        store.ints["Settings/DisplayPeriod"] = unit;
    }

    test::FixedClock clock{At(2026, 12, 6, 10)};
    test::RecordingSpeaker speaker;
    test::MemoryStore store;
    test::RecordingMessages messages;
    test::RecordingDesktopNotifier notifier;
    test::RecordingTrayArea trayArea;
    Application app;
    QTemporaryDir home;
    XdgAutostart loginStart{home.filePath("autostart"), home.filePath("bin/Vostrel")};
    bool placesWindows = true; // false: a platform that keeps positions to itself
    bool onScreen = true;      // false: the window manager keeps the window off the screen
    std::unique_ptr<CCountdownDlg> dialog;
};

TEST_F(CountdownWindow, StartsHiddenAndTicksJustAfterEachSecondWithTheClocksTime)
{
    StoreTarget("12/06/2026 20:00:00", unitHours);
    clock.milliseconds = 250;
    CCountdownDlg& dlg = Start();
    EXPECT_EQ(RefreshTimer().interval, 755); // the rest of this second and a margin
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_TRUE(speaker.beeps.empty());
    EXPECT_EQ(Display(), "   10 Hrs");

    // Every tick re-arms for the next second and shows clock jumps at once.
    clock.now = At(2026, 12, 6, 15); // forward, as after a suspend
    clock.milliseconds = 990;
    Tick();
    EXPECT_EQ(RefreshTimer().interval, 15);
    EXPECT_EQ(Display(), "    5 Hrs");
    clock.now = At(2026, 12, 6, 7); // back
    Tick();
    EXPECT_EQ(Display(), "   13 Hrs");

    // Screen readers hear the labels, the icons and the time left; the tab stops are as they were.
    Open();
    const auto name = [this](int id) {
        return QAccessible::queryAccessibleInterface(dialog->GetDlgItem(id))->text(QAccessible::Name);
    };
    QStringList names = {name(IDC_END_DATE), name(IDC_VAC_DAYS), name(IDC_DISPLAY)};
    for (int id = IDC_ICON_CHOICE0; id <= IDC_ICON_CHOICE5; ++id)
        names.append(name(id));
    EXPECT_EQ(names, QStringList({"Date[Time]:", "Vac. Days", "   13 Hrs", "Icon: firecracker", "Icon: eye",
                                  "Icon: frown", "Icon: smile", "Icon: clock", "Icon: stopwatch"}));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(dialog->GetDlgItem(IDC_DISPLAY))->role(),
              QAccessible::StaticText);
    EXPECT_EQ(Edit(IDC_END_DATE)->focusPolicy(), Qt::ClickFocus);
    EXPECT_EQ(Edit(IDC_VAC_DAYS)->focusPolicy(), Qt::StrongFocus);

    // Arrow keys walk the units in their order, wrapping, and apply each.
    dialog->Item<QRadioButton>(IDC_UNIT_HOURS)->setFocus();
    std::vector<int> units;
    for (const Qt::Key key :
         {Qt::Key_Down, Qt::Key_Down, Qt::Key_Right, Qt::Key_Down, Qt::Key_Up, Qt::Key_Left}) {
        QTest::keyClick(QApplication::focusWidget(), key);
        units.push_back(dialog->CheckedRadioIndex(IDC_UNIT_DAYS));
    }
    EXPECT_EQ(units, std::vector<int>({2, 3, 4, 0, 4, 3}));
    EXPECT_EQ(QApplication::focusWidget(), dialog->Item<QRadioButton>(IDC_UNIT_SECONDS));
    EXPECT_EQ(Display(), "  46800 Secs");
}

TEST_F(CountdownWindow, IntervalsBecomeTheirEndsAndUnreadableTargetsTheOrigin)
{
    StoreTarget("+0:30", unitMinutes); // as older settings stored them
    Start();
    Tick(); // hidden ticks keep the end, though the box is not yet shown
    Tick();
    EXPECT_EQ(dialog->m_strEndDate, "12/06/2026 10:30:00");
    EXPECT_EQ(Edit(IDC_END_DATE)->text(), "12/06/2026 10:30:00");
    EXPECT_EQ(Display(), "    30 Mins");
    Open();
    Type(IDC_END_DATE, "+3:45");
    Edit(IDC_VAC_DAYS)->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(Edit(IDC_END_DATE)->text(), "12/06/2026 13:45:00");
    EXPECT_EQ(Display(), "   225 Mins");

    // Enter in the target box is OK: it saves an interval still as typed as its end, and hides.
    Open();
    Type(IDC_END_DATE, "+1:30");
    QTest::keyClick(Edit(IDC_END_DATE), Qt::Key_Return);
    EXPECT_EQ(store.texts["Settings/EndDate"], "12/06/2026 11:30:00");
    EXPECT_EQ(Edit(IDC_END_DATE)->text(), "12/06/2026 11:30:00");
    EXPECT_FALSE(dialog->isVisible());

    // A huge paste, cut to the box's 32767 characters, does not read: the target
    // becomes the origin, long past.
    Open();
    Edit(IDC_END_DATE)->setFocus();
    Edit(IDC_END_DATE)->setText(QString(100000, QChar('7')));
    Edit(IDC_VAC_DAYS)->setFocus();
    QApplication::processEvents();
    EXPECT_DOUBLE_EQ(dialog->m_EndTime.GetValue(), 0.0);
}

// A longer value stored by hand is shown and counted whole; typing may shorten it, never lengthen it. Ticks
// keep the selection; leaving the box applies it.
TEST_F(CountdownWindow, VacationBoxTakesTwoCharactersAndOkSavesWhatTheUserChose)
{
    StoreTarget("12/06/2027 10:00:00");
    store.texts["Settings/VacationDays"] = "100";
    CCountdownDlg& dlg = Start();
    EXPECT_NEAR(dlg.m_dVacAdjust, 365.0 / 365.25 * 216, 1e-6);
    Open();
    EXPECT_EQ(QApplication::focusWidget(), Edit(IDC_VAC_DAYS));
    Tick();
    EXPECT_EQ(Edit(IDC_VAC_DAYS)->text(), "100");
    EXPECT_EQ(dlg.m_strVacDays, "100");
    EXPECT_TRUE(messages.shown.isEmpty());
    QTest::keyClick(Edit(IDC_VAC_DAYS), Qt::Key_End);
    QTest::keyClicks(Edit(IDC_VAC_DAYS), "7\b7"); // \b: Backspace
    EXPECT_EQ(Edit(IDC_VAC_DAYS)->text(), "10");

    Type(IDC_VAC_DAYS, "205");
    EXPECT_EQ(Edit(IDC_VAC_DAYS)->text(), "20");
    Edit(IDC_VAC_DAYS)->setSelection(0, 1);
    Tick();
    EXPECT_EQ(Edit(IDC_VAC_DAYS)->selectedText(), "2");
    Edit(IDC_END_DATE)->setFocus();
    QApplication::processEvents();
    EXPECT_NEAR(dlg.m_dVacAdjust, 365.0 / 365.25 * 136, 1e-6);
    EXPECT_EQ(Display(), " 229 Days");

    // OK keeps what the user chose, the icon among it, and the icon shows at
    // once, in the tray and as the window's, crisp at larger sizes.
    QTest::mouseClick(dlg.GetDlgItem(IDC_ICON_CHOICE5), Qt::LeftButton);
    EXPECT_EQ(trayArea.Pictures().back(), static_cast<std::uint32_t>(IDI_STOPWATCH2));
    QTest::mouseClick(dlg.GetDlgItem(IDC_ICON_CHOICE1), Qt::LeftButton);
    EXPECT_EQ(trayArea.Pictures().back(), static_cast<std::uint32_t>(IDI_EYE));
    QTest::mouseClick(dlg.Item<QRadioButton>(IDC_UNIT_HOURS), Qt::LeftButton);
    Type(IDC_VAC_DAYS, "3");
    Type(IDC_END_DATE, "+2:00");
    dlg.move(40, 30);
    QTest::mouseClick(dlg.Item<QPushButton>(IDC_BTN_OK), Qt::LeftButton);
    EXPECT_EQ(store.texts, (std::map<std::string, std::string>{{"Settings/EndDate", "12/06/2026 12:00:00"},
                                                               {"Settings/VacationDays", "3"}}));
    EXPECT_EQ(store.ints, (std::map<std::string, std::int32_t>{{"Settings/DisplayPeriod", unitHours},
                                                               {"Settings/WhichIcon", 1},
                                                               {"Settings/x", dlg.frameGeometry().x()},
                                                               {"Settings/y", dlg.frameGeometry().y()}}));
    EXPECT_EQ(dlg.frameGeometry().topLeft(), QPoint(40, 30));
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.windowIcon().pixmap(64).toImage(), LoadIcon(IDI_EYE).pixmap(64).toImage());
}

// Another copy's --set and --unit are typed into the boxes and confirmed as OK confirms them; what scripts
// read from the settings is the figure the window shows, the vacation rule included (a stored count longer
// than the box lets anyone type counts whole).
TEST_F(CountdownWindow, TakesATargetFromTheCommandLineAsTypedAndConfirmedAndScriptsReadItsFigure)
{
    StoreTarget("12/06/2027 10:00:00");
    store.texts["Settings/VacationDays"] = "100";
    CCountdownDlg& dlg = Start();
    Open();
    Type(IDC_VAC_DAYS, "3");
    dlg.ConfirmTarget("+0:02", unitHms);
    EXPECT_EQ(store.texts, (std::map<std::string, std::string>{{"Settings/EndDate", "12/06/2026 10:02:00"},
                                                               {"Settings/VacationDays", "3"}}));
    EXPECT_EQ(store.ints["Settings/DisplayPeriod"], unitHms);
    EXPECT_EQ(Edit(IDC_END_DATE)->text(), "12/06/2026 10:02:00");
    EXPECT_TRUE(dlg.Item<QRadioButton>(IDC_UNIT_HMS)->isChecked());
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(Display(), "  0:1:20 HMS"); // less 39 s for (3 + 116) days a year
    const CountdownFigure figure = CountdownFigure::FromSettings(store, clock);
    EXPECT_EQ(figure.end.GetValue(), dlg.m_EndTime.GetValue());
    EXPECT_EQ(figure.Text(clock.now), "0:1:20 HMS");

    dlg.ConfirmTarget(std::nullopt, unitMinutes);
    EXPECT_EQ(store.texts["Settings/EndDate"], "12/06/2026 10:02:00");
    EXPECT_EQ(store.ints["Settings/DisplayPeriod"], unitMinutes);
    EXPECT_EQ(CountdownFigure::FromSettings(store, clock).Text(clock.now), Display().trimmed().toStdString());
}

// The first start's target has long passed: the window shows from the first
// tick. A figure too wide for the display is drawn smaller, whole.
TEST_F(CountdownWindow, AFirstStartShowsTheDefaultsAndTheAlarmAndAStoredPositionIsUsedOnlyOnTheScreen)
{
    clock.now = At(2026, 12, 6, 10, 30, 33);
    CCountdownDlg& dlg = Start();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(Edit(IDC_END_DATE)->text(), "01/01/2001");
    EXPECT_EQ(Edit(IDC_VAC_DAYS)->text(), "0");
    EXPECT_EQ(dlg.CheckedRadioIndex(IDC_UNIT_DAYS), unitDays);
    EXPECT_EQ(trayArea.Pictures().back(), static_cast<std::uint32_t>(IDI_STOPWATCH2));
    // The tick gives the tooltip its text at once; the window, whose first
    // showing is slow, comes once the tick is done.
    Tick();
    EXPECT_EQ(std::string(trayArea.requests.back().record.szTip), "-9470 Days");
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&dlg] { return dlg.isVisible(); }, 1000));

    Open();
    QLabel* display = dlg.Item<QLabel>(IDC_DISPLAY);
    dlg.CheckRadioIndex(IDC_UNIT_DAYS, unitHms);
    Tick();
    ASSERT_EQ(Display(), "-227290:-30:-33 HMS");
    EXPECT_LE(display->fontMetrics().horizontalAdvance(Display()), display->width());
    EXPECT_LT(display->font().pixelSize(), dlg.m_Font->pixelSize());
    EXPECT_GT(display->font().pixelSize(), dlg.m_Font->pixelSize() / 2);
    dlg.CheckRadioIndex(IDC_UNIT_DAYS, unitDays);
    Tick();
    EXPECT_EQ(display->font(), *dlg.m_Font);

    // A stored position off the screen is not used; where the platform keeps
    // window positions to itself, OK keeps the stored one and saves the rest.
    const QPoint templatePosition = Start().pos(); // nothing stored
    EXPECT_EQ(templatePosition, dialog->Units().ToPixels(dialog->Template().frame).topLeft());
    const auto startAt = [this](int x, int y) {
        std::tie(store.ints["Settings/x"], store.ints["Settings/y"]) = std::pair(x, y);
        return Start().pos();
    };
    EXPECT_EQ(startAt(QGuiApplication::primaryScreen()->geometry().width(), 10), templatePosition);
    EXPECT_EQ(startAt(-5, 10), templatePosition);
    EXPECT_EQ(startAt(0, 0), QPoint(0, 0));

    placesWindows = false;
    startAt(40, 30);
    Open();
    dialog->move(120, 90);
    dialog->Item<QRadioButton>(IDC_UNIT_MINUTES)->click();
    QTest::mouseClick(dialog->m_btnOK, Qt::LeftButton);
    EXPECT_EQ(store.ints["Settings/x"], 40);
    EXPECT_EQ(store.ints["Settings/y"], 30);
    EXPECT_EQ(store.ints["Settings/DisplayPeriod"], unitMinutes);
}

// Window managers minimise even windows without a minimise button: Update Timer and the alarm bring it back.
TEST_F(CountdownWindow, TellsTheDesktopOnceAsTheEndPassesAndTakesItBackWhenTheUserComes)
{
    StoreTarget("12/06/2026 10:00:02", unitSeconds);
    Start();
    Open(); // a shown window, painted, is no alarm
    QTest::qWait(20);
    Tick();
    EXPECT_TRUE(notifier.notified.isEmpty());
    dialog->setWindowState(Qt::WindowMinimized);
    dialog->OnCommand(ID_UPDATE_TIMER);
    EXPECT_FALSE(dialog->isMinimized());
    dialog->setWindowState(Qt::WindowMinimized);
    Tick();            // still counting: left alone
    dialog->repaint(); // nor does a paint that comes as it is minimised
    QApplication::processEvents();
    EXPECT_TRUE(dialog->isMinimized());
    for (int second = 3; second < 6; ++second) {
        clock.now = At(2026, 12, 6, 10, 0, second);
        Tick();
    }
    EXPECT_EQ(notifier.notified,
              QStringList({"Time is up: The countdown to 12/06/2026 10:00:02 has ended."}));
    // While the alarm itself goes on, beeping once each tick is done.
    EXPECT_TRUE(QTest::qWaitFor([this] { return speaker.beeps.size() >= 3; }, 1000));
    EXPECT_EQ(speaker.beeps.size(), 3u);
    EXPECT_FALSE(dialog->isMinimized());
    EXPECT_TRUE(dialog->isVisible());

    // A window kept off the screen while the toolkit believes it shown (an
    // iconified window whose restore was lost) is shown afresh, as a new
    // window, at the alarm's second request: the first may find a window
    // just shown that is not on the screen yet.
    onScreen = false;
    EventCounter shows(*dialog, QEvent::Show);
    const auto alarmAt = [this](int second) {
        clock.now = At(2026, 12, 6, 10, 0, second);
        Tick();
        QApplication::processEvents();
    };
    alarmAt(6);
    EXPECT_EQ(shows.count, 0);
    alarmAt(7);
    EXPECT_EQ(shows.count, 1);
    EXPECT_TRUE(dialog->isVisible());
    onScreen = true;
    alarmAt(8);
    alarmAt(9);
    EXPECT_EQ(shows.count, 1);
    const int closedBefore = notifier.closed;
    dialog->OnCommand(ID_UPDATE_TIMER);
    EXPECT_EQ(notifier.closed, closedBefore + 1);

    // A new target closes it too; its end is told again.
    Type(IDC_END_DATE, "+0:01");
    QTest::mouseClick(dialog->Item<QPushButton>(IDC_BTN_OK), Qt::LeftButton);
    EXPECT_EQ(notifier.closed, closedBefore + 2);
    clock.now = At(2026, 12, 6, 10, 1, 10); // a minute after the last tick
    Tick();
    EXPECT_EQ(notifier.notified.size(), 2);
}

// Window managers keep their window menus, so About is on the background
// menu, with Start at Login, checked while the autostart entry is there.
TEST_F(CountdownWindow, BackgroundMenuOpensAboutAndTurnsStartAtLoginOnAndOff)
{
    CCountdownDlg& dlg = Start();
    Open();
    const QString about = "&About Vostrel...", atLogin = "Start at &Login";
    EXPECT_EQ(Menu(about), QStringList({about, atLogin + " [ ]", "About Vostrel"}));
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(Menu(atLogin), QStringList({about, atLogin + " [ ]"}));
    const QString entry = home.filePath("autostart/Vostrel.desktop");
    EXPECT_TRUE(test::Contents(entry).contains("\nExec=" + home.filePath("bin/Vostrel").toUtf8() + "\n"));
    EXPECT_EQ(Menu(atLogin), QStringList({about, atLogin + " [x]"}));
    EXPECT_FALSE(QFile::exists(entry));

    // An entry put there by hand, or taken away, shows at the next opening.
    ASSERT_TRUE(test::Write(entry, "[Desktop Entry]\nType=Application\nExec=Vostrel\n"));
    EXPECT_EQ(Menu({}).value(1), atLogin + " [x]");
    ASSERT_TRUE(QFile::remove(entry));
    EXPECT_EQ(Menu({}).value(1), atLogin + " [ ]");
    EXPECT_TRUE(messages.shown.isEmpty());

    // Where the folder cannot be made, the user is told.
    ASSERT_TRUE(QDir(home.path()).rmdir("autostart"));
    ASSERT_TRUE(test::Write(home.filePath("autostart"), {}));
    EXPECT_EQ(Menu(atLogin).value(1), atLogin + " [ ]");
    EXPECT_EQ(messages.shown, QStringList({"Could not turn on starting at login."}));
}

} // namespace
