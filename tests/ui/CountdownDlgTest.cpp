#include "NotifyIconData.h"
#include "ResourceIds.h"
#include "UiTestSupport.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace vostrel {
namespace {

using namespace res;
using test::At;

class CountdownWindow : public testing::Test {
protected:
    // Starts the window as the modal run would, without the run's loop.
    CCountdownDlg& Start()
    {
        dialog = std::make_unique<CCountdownDlg>(fixture.Services());
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

    // The window's refresh timer as the event loop holds it, and a tick of
    // it delivered at once rather than waited for.
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
    // A step of the tray icon's animation, delivered at once.
    void Animate() { dialog->m_TrayIcon.WindowProc(WM_TIMER, CYCLE_TIMER_ID, 0); }

    QLineEdit* Edit(int id) { return dialog->Item<QLineEdit>(id); }
    QString Display() { return dialog->Item<QLabel>(IDC_DISPLAY)->text(); }
    void Type(int id, const QString& text)
    {
        Edit(id)->setFocus();
        Edit(id)->selectAll();
        QTest::keyClicks(Edit(id), text);
    }
    void StoreTarget(const char* target, int unit = unitDays)
    {
        fixture.store.texts["Settings/EndDate"] = target;
        fixture.store.ints["Settings/DisplayPeriod"] = unit;
    }

    test::DialogFixture fixture;
    std::unique_ptr<CCountdownDlg> dialog;
};

TEST_F(CountdownWindow, StartsHiddenAndTicksJustAfterEachSecondWithTheClocksTime)
{
    StoreTarget("12/06/2026 20:00:00", unitHours);
    fixture.clock.milliseconds = 250;
    CCountdownDlg& dlg = Start();
    EXPECT_EQ(RefreshTimer().interval, 755); // the rest of this second and a margin
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_TRUE(fixture.speaker.beeps.empty());
    EXPECT_EQ(Display(), "   10 Hrs");

    // Every tick re-arms for the next second and shows clock jumps at once.
    fixture.clock.now = At(2026, 12, 6, 15); // forward, as after a suspend
    fixture.clock.milliseconds = 990;
    Tick();
    EXPECT_EQ(RefreshTimer().interval, 15);
    EXPECT_EQ(Display(), "    5 Hrs");
    fixture.clock.now = At(2026, 12, 6, 7); // back
    Tick();
    EXPECT_EQ(Display(), "   13 Hrs");
}

TEST_F(CountdownWindow, FirstStartAlarmsFromTheFirstTickAndAnimatesTheTrayIcon)
{
    CCountdownDlg& dlg = Start();                // the default target, 01/01/2001, is long past
    EXPECT_EQ(fixture.speaker.beeps.size(), 1u); // the start's own refresh
    QTest::qWait(50);
    EXPECT_FALSE(dlg.isVisible());
    // That alarm ran before the tray icon existed: the icon is added after
    // it, its tooltip untouched.
    const auto& requests = fixture.notifyArea.requests;
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests[0].request, NIM_ADD);
    EXPECT_EQ(requests[0].record.uID, 139u);
    EXPECT_STREQ(dlg.m_TrayIcon.Record().szTip, "Vostrel");

    // The first tick beeps, shows the window and the time left, and starts the animation.
    Tick();
    EXPECT_TRUE(dlg.isVisible());
    ASSERT_EQ(fixture.speaker.beeps.size(), 2u);
    EXPECT_EQ(fixture.speaker.beeps.back(), std::make_pair(1000u, 10u));
    EXPECT_EQ(Display(), "-9470 Days");
    EXPECT_STREQ(dlg.m_TrayIcon.Record().szTip, "-9470 Days");
    fixture.notifyArea.requests.clear();
    Animate();
    Animate();
    EXPECT_EQ(fixture.notifyArea.Pictures(), std::vector<std::uint32_t>({IDI_SMILE, IDI_FROWN}));
    EXPECT_EQ(dlg.m_TrayIcon.EndCycle(), TRUE); // its frame timer was running
}

TEST_F(CountdownWindow, IntervalsBecomeTheirEndsWhenReadTypedOrSaved)
{
    StoreTarget("+0:30", unitMinutes); // as older settings stored them
    Start();
    EXPECT_EQ(Edit(IDC_END_DATE)->text(), "12/06/2026 10:30:00");
    EXPECT_EQ(Display(), "    30 Mins");
    Open();
    Type(IDC_END_DATE, "+3:45");
    Edit(IDC_VAC_DAYS)->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(Edit(IDC_END_DATE)->text(), "12/06/2026 13:45:00");
    EXPECT_EQ(Display(), "   225 Mins");

    // OK, by Enter in the target box or by the button, saves an interval
    // still as typed as its end, with the rest of the settings, and hides.
    for (const bool byEnter : {true, false}) {
        Open();
        Type(IDC_VAC_DAYS, "3");
        Type(IDC_END_DATE, "+1:30");
        if (byEnter)
            QTest::keyClick(Edit(IDC_END_DATE), Qt::Key_Return);
        else
            QTest::mouseClick(dialog->Item<QPushButton>(IDC_BTN_OK), Qt::LeftButton);
        EXPECT_EQ(fixture.store.texts["Settings/EndDate"], "12/06/2026 11:30:00") << byEnter;
        EXPECT_EQ(Edit(IDC_END_DATE)->text(), "12/06/2026 11:30:00");
        EXPECT_EQ(fixture.store.texts["Settings/VacationDays"], "3");
        EXPECT_EQ(fixture.store.ints["Settings/DisplayPeriod"], unitMinutes);
        EXPECT_EQ(fixture.store.ints["Settings/WhichIcon"], 5);
        EXPECT_EQ(fixture.store.ints["Settings/x"], dialog->frameGeometry().left());
        EXPECT_EQ(fixture.store.ints["Settings/y"], dialog->frameGeometry().top());
        EXPECT_FALSE(dialog->isVisible());
        fixture.store.texts.clear();
    }
}

TEST_F(CountdownWindow, VacationBoxTakesTwoCharactersAndAppliesOnLeaving)
{
    StoreTarget("12/06/2027 10:00:00");
    CCountdownDlg& dlg = Start();
    // Longer text, as the box could hold before its limit was set, is refused.
    EXPECT_EQ(Edit(IDC_VAC_DAYS)->maxLength(), 2);
    Edit(IDC_VAC_DAYS)->setMaxLength(10);
    Edit(IDC_VAC_DAYS)->setText("123");
    EXPECT_FALSE(dlg.UpdateData(true));
    EXPECT_EQ(dlg.m_strVacDays, "0");
    ASSERT_EQ(fixture.messages.shown.size(), 1);
    EXPECT_TRUE(fixture.messages.shown[0].contains("2 characters"));

    Open();
    EXPECT_EQ(QApplication::focusWidget(), Edit(IDC_VAC_DAYS));
    Type(IDC_VAC_DAYS, "20");
    Edit(IDC_END_DATE)->setFocus();
    QApplication::processEvents();
    EXPECT_NEAR(dlg.m_dVacAdjust, 365.0 / 365.25 * 136, 1e-6);
    EXPECT_EQ(Display(), " 229 Days");
}

TEST_F(CountdownWindow, AHugePastedTargetIsAReadingFailure)
{
    StoreTarget("12/07/2026 10:00:00");
    CCountdownDlg& dlg = Start();
    Open();
    Edit(IDC_END_DATE)->setFocus();
    Edit(IDC_END_DATE)->setText(QString(100000, QChar('7'))); // cut to the box's 32767
    Edit(IDC_VAC_DAYS)->setFocus();
    QApplication::processEvents();
    EXPECT_DOUBLE_EQ(dlg.m_EndTime.GetValue(), 0.0); // 30 December 1899: long expired
    EXPECT_EQ(Display(), "-46362 Days");
    EXPECT_TRUE(dlg.isVisible());
}

TEST_F(CountdownWindow, UnitButtonsFormOneGroupAndRefresh)
{
    StoreTarget("12/06/2026 12:00:00", 9); // a unit no button stands for
    CCountdownDlg& dlg = Start();
    EXPECT_EQ(dlg.m_nDisplayPeriod, -1);
    EXPECT_EQ(Display(), "");
    Open();
    const int units[] = {IDC_UNIT_DAYS, IDC_UNIT_HOURS, IDC_UNIT_MINUTES, IDC_UNIT_SECONDS, IDC_UNIT_HMS};
    const char* shown[] = {"   0 Days", "    2 Hrs", "   120 Mins", "   7200 Secs", "  2:0:0 HMS"};
    for (int i = 0; i < 5; ++i) {
        QTest::mouseClick(dlg.Item<QRadioButton>(units[i]), Qt::LeftButton);
        EXPECT_EQ(Display(), shown[i]);
        for (int j = 0; j < 5; ++j)
            EXPECT_EQ(dlg.Item<QRadioButton>(units[j])->isChecked(), i == j);
    }
}

TEST_F(CountdownWindow, IconPicturesChooseTheWindowIcon)
{
    CCountdownDlg& dlg = Start();
    const IconHandle expected[] = {IDI_FIRECRACKER, IDI_EYE, IDI_FROWN, IDI_SMILE, IDI_CLOCK, IDI_STOPWATCH2};
    for (int k = 5; k >= 0; --k) {
        QTest::mouseClick(dlg.GetDlgItem(IDC_ICON_CHOICE0 + k), Qt::LeftButton);
        EXPECT_EQ(dlg.m_hIcon, expected[k]);
        EXPECT_EQ(dlg.windowIcon().pixmap(32).toImage(), IconFromHandle(expected[k]).pixmap(32).toImage());
    }

    // A stored choice outside 0..5 loads nothing and keeps the last icon.
    dlg.m_nWhichIcon = 7;
    dlg.ApplyIconChoice();
    EXPECT_EQ(dlg.m_hIcon, static_cast<IconHandle>(IDI_FIRECRACKER));
}

TEST_F(CountdownWindow, ExitEscapeAndCloseEndTheModalRunWithoutSaving)
{
    StoreTarget("12/07/2026 10:00:00");
    const std::pair<void (*)(CCountdownDlg&), int> enders[] = {
        {[](CCountdownDlg& d) { d.OnCommand(ID_APP_EXIT); }, QDialog::Accepted},
        {[](CCountdownDlg& d) { QTest::keyClick(&d, Qt::Key_Escape); }, QDialog::Rejected},
        {[](CCountdownDlg& d) { d.close(); }, QDialog::Rejected},
    };
    for (const auto& [end, code] : enders) {
        CCountdownDlg dlg(fixture.Services());
        QTimer::singleShot(20, &dlg, [&dlg, end = end] {
            dlg.OnCommand(ID_UPDATE_TIMER);
            end(dlg);
        });
        EXPECT_EQ(dlg.DoModal(), code);
        EXPECT_FALSE(dlg.isVisible());
    }
    EXPECT_EQ(fixture.store.ints.count("Settings/x"), 0u);
}

TEST_F(CountdownWindow, StoredPositionIsUsedOnlyOnTheScreen)
{
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    fixture.store.ints["Settings/x"] = screen.width();
    fixture.store.ints["Settings/y"] = 10;
    const QPoint templatePosition = Start().pos();
    EXPECT_EQ(templatePosition, dialog->Units().ToPixels(dialog->Template().frame).topLeft());

    fixture.store.ints["Settings/x"] = 0;
    fixture.store.ints["Settings/y"] = 0;
    EXPECT_EQ(Start().pos(), QPoint(0, 0));
    fixture.store.ints["Settings/x"] = -5;
    EXPECT_EQ(Start().pos(), templatePosition);
}

TEST_F(CountdownWindow, HelpAndAboutLeaveTheWindowAsItWas)
{
    StoreTarget("12/07/2026 10:00:00");
    CCountdownDlg& dlg = Start();
    EXPECT_TRUE(dlg.OnCommand(ID_SHOW_HELP));
    ASSERT_EQ(fixture.messages.shown.size(), 1);
    EXPECT_TRUE(fixture.messages.shown[0].startsWith("I wrote this utility"));

    test::Answerer answer;
    // About opens for the tray's About, for system commands 16 to 31 and
    // from the window's own menu.
    dlg.OnCommand(ID_SHOW_ABOUT);
    for (unsigned id : {16u, 31u, 32u})
        dlg.OnSysCommand(id);
    EXPECT_FALSE(dlg.isVisible());
    Open();
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), dlg.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&dlg, &event);
    QTest::qWait(50);
    EXPECT_TRUE(dlg.isVisible());
    const QString about =
        "About Vostrel|[picture]|Vostrel Version 5.0|Copyright (C) 2026 Pelmark. All rights "
        "reserved.|E-mail: vostrel@pelmark.example|Home page: https://pelmark.example/vostrel|OK";
    EXPECT_EQ(answer.seen, QStringList({about, about, about, "&About Vostrel...", about}));
}

TEST(Messages, CaptionIsTheApplicationsNameWithOneOkButtonAndNoIcon)
{
    const QString name = QApplication::applicationName();
    QApplication::setApplicationName("Timekeeper");
    test::Answerer answer;
    QtMessages().Show(nullptr, "text");
    EXPECT_EQ(answer.seen, QStringList({"Timekeeper||text|OK"}));
    QApplication::setApplicationName(name);
}

} // namespace
} // namespace vostrel
