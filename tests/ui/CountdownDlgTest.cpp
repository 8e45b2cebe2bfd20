#include "NotifyIconData.h"
#include "ResourceIds.h"
#include "UiTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
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

TEST_F(CountdownWindow, FutureTargetStartsHiddenAndCounts)
{
    StoreTarget("12/07/2026 10:00:00", unitHours);
    CCountdownDlg& dlg = Start();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_FALSE(dlg.m_bVisible);
    EXPECT_TRUE(fixture.speaker.beeps.empty());
    EXPECT_EQ(Display(), "   24 Hrs");
    EXPECT_EQ(Edit(IDC_END_DATE)->text(), "12/07/2026 10:00:00");
    EXPECT_TRUE(dlg.Item<QRadioButton>(IDC_UNIT_HOURS)->isChecked());

    // The one-second timer refreshes the display through the engine.
    fixture.clock.Set(At(2026, 12, 6, 11));
    QTest::qWait(1150);
    EXPECT_EQ(Display(), "   23 Hrs");
}

TEST_F(CountdownWindow, FirstStartUsesDefaultsAndAlarmsFromTheFirstTick)
{
    CCountdownDlg& dlg = Start();
    EXPECT_EQ(Edit(IDC_END_DATE)->text(), "01/01/2001");
    EXPECT_EQ(Edit(IDC_VAC_DAYS)->text(), "0");
    EXPECT_TRUE(dlg.Item<QRadioButton>(IDC_UNIT_DAYS)->isChecked());
    EXPECT_EQ(dlg.m_nWhichIcon, 5);
    EXPECT_EQ(dlg.m_hIcon, static_cast<IconHandle>(IDI_STOPWATCH2));
    EXPECT_EQ(fixture.speaker.beeps.size(), 1u); // the start's own refresh
    EXPECT_FALSE(dlg.m_bVisible);
    QTest::qWait(50);
    EXPECT_FALSE(dlg.isVisible());

    QTest::qWait(1100);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(dlg.m_bVisible);
    ASSERT_GE(fixture.speaker.beeps.size(), 2u);
    EXPECT_EQ(fixture.speaker.beeps.back(), std::make_pair(1000u, 10u));
    EXPECT_EQ(Display(), "-9470 Days");
}

TEST_F(CountdownWindow, TrayIconJoinsAfterTheFirstRefreshAndCarriesTheTimeLeft)
{
    CCountdownDlg& dlg = Start();
    const auto& requests = fixture.notifyArea.requests;
    // The start's alarm ran before the icon existed: the add comes first.
    ASSERT_GE(requests.size(), 2u);
    EXPECT_EQ(requests[0].request, NIM_ADD);
    EXPECT_EQ(requests[0].record.uID, static_cast<std::uint32_t>(IDR_TRAYMENU));
    EXPECT_EQ(requests[0].record.uCallbackMessage, WM_USER + 10);
    EXPECT_EQ(requests[0].record.hIcon, static_cast<std::uint32_t>(IDI_STOPWATCH2));
    EXPECT_STREQ(requests[0].record.szTip, "Vostrel");
    EXPECT_EQ(requests[1].request, NIM_MODIFY);
    EXPECT_EQ(requests[1].record.uFlags, NIF_ICON);

    // Each tick brings the time left to the tooltip and restarts the alarm.
    fixture.notifyArea.requests.clear();
    QTest::qWait(1350);
    EXPECT_STREQ(dlg.m_TrayIcon.Record().szTip, "-9470 Days");
    const std::vector<std::uint32_t> pictures = fixture.notifyArea.Pictures();
    ASSERT_GE(pictures.size(), 2u);
    EXPECT_EQ(pictures[0], static_cast<std::uint32_t>(IDI_SMILE));
    EXPECT_EQ(pictures[1], static_cast<std::uint32_t>(IDI_FROWN));

    // A later target ends the alarm and the picture from before it comes
    // back; a choice made during the alarm shows on the window at once but
    // reaches the tray for good only when made again afterwards.
    QTest::mouseClick(dlg.GetDlgItem(IDC_ICON_CHOICE4), Qt::LeftButton);
    EXPECT_EQ(dlg.windowIcon().pixmap(32).toImage(), IconFromHandle(IDI_CLOCK).pixmap(32).toImage());
    Edit(IDC_END_DATE)->setText("12/31/2027");
    QTest::mouseClick(dlg.Item<QPushButton>(IDC_BTN_OK), Qt::LeftButton);
    fixture.clock.Set(At(2026, 12, 6, 10, 0, 5));
    QTest::qWait(1300);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.m_TrayIcon.CurrentIcon(), static_cast<IconHandle>(IDI_STOPWATCH2));
    QTest::mouseClick(dlg.GetDlgItem(IDC_ICON_CHOICE4), Qt::LeftButton);
    EXPECT_EQ(dlg.m_TrayIcon.CurrentIcon(), static_cast<IconHandle>(IDI_CLOCK));
}

TEST_F(CountdownWindow, LeavingTheTargetBoxResolvesAnInterval)
{
    StoreTarget("12/07/2026 10:00:00", unitMinutes);
    Start();
    Open();
    Type(IDC_END_DATE, "+3:45");
    Edit(IDC_VAC_DAYS)->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(Edit(IDC_END_DATE)->text(), "12/06/2026 13:45:00");
    EXPECT_EQ(Display(), "   225 Mins");
}

TEST_F(CountdownWindow, LeavingTheVacationBoxAppliesTheNewDays)
{
    StoreTarget("12/06/2027 10:00:00");
    CCountdownDlg& dlg = Start();
    Open();
    EXPECT_EQ(QApplication::focusWidget(), Edit(IDC_VAC_DAYS)); // the first tab stop
    Type(IDC_VAC_DAYS, "20");
    Edit(IDC_END_DATE)->setFocus();
    QApplication::processEvents();
    EXPECT_NEAR(dlg.m_dVacAdjust, 365.0 / 365.25 * 136, 1e-6);
    EXPECT_EQ(Display(), " 229 Days");
}

TEST_F(CountdownWindow, WindowMenuOffersTheAboutBox)
{
    CCountdownDlg& dlg = Start();
    Open();
    QString chosen;
    QString opened;
    QTimer::singleShot(50, [&] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            auto* menu = qobject_cast<QMenu*>(top);
            if (!menu || !menu->isVisible())
                continue;
            chosen = menu->actions().value(0)->text();
            QTimer::singleShot(50, [&opened] {
                if (QWidget* about = QApplication::activeModalWidget()) {
                    opened = about->windowTitle();
                    QTest::keyClick(about, Qt::Key_Escape);
                }
            });
            QTest::mouseClick(menu, Qt::LeftButton, {},
                              menu->actionGeometry(menu->actions().value(0)).center());
        }
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), dlg.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&dlg, &event);
    EXPECT_EQ(chosen, "&About Vostrel...");
    EXPECT_EQ(opened, "About Vostrel");
}

TEST_F(CountdownWindow, EnterSavesTheIntervalsEndThenHides)
{
    StoreTarget("12/07/2026 10:00:00");
    CCountdownDlg& dlg = Start();
    Open();
    Type(IDC_END_DATE, "+0:30");
    QTest::keyClick(Edit(IDC_END_DATE), Qt::Key_Return);
    EXPECT_EQ(fixture.store.texts["Settings/EndDate"], "12/06/2026 10:30:00");
    EXPECT_EQ(Edit(IDC_END_DATE)->text(), "12/06/2026 10:30:00");
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_FALSE(dlg.m_bVisible);
}

TEST_F(CountdownWindow, ClickingOkConvertsTheIntervalBeforeSaving)
{
    StoreTarget("12/07/2026 10:00:00", unitHms);
    CCountdownDlg& dlg = Start();
    Open();
    Type(IDC_END_DATE, "+1:30");
    Type(IDC_VAC_DAYS, "3");
    QTest::mouseClick(dlg.Item<QPushButton>(IDC_BTN_OK), Qt::LeftButton);
    EXPECT_EQ(fixture.store.texts["Settings/EndDate"], "12/06/2026 11:30:00");
    EXPECT_EQ(fixture.store.texts["Settings/VacationDays"], "3");
    EXPECT_EQ(fixture.store.ints["Settings/DisplayPeriod"], unitHms);
    EXPECT_EQ(fixture.store.ints["Settings/WhichIcon"], 5);
    EXPECT_EQ(fixture.store.ints["Settings/x"], dlg.frameGeometry().left());
    EXPECT_FALSE(dlg.isVisible());
}

TEST_F(CountdownWindow, StoredIntervalsStillCountFromTheStart)
{
    StoreTarget("+0:30", unitMinutes);
    Start();
    EXPECT_EQ(Edit(IDC_END_DATE)->text(), "12/06/2026 10:30:00");
    EXPECT_EQ(Display(), "    30 Mins");
}

TEST_F(CountdownWindow, ClockJumpsShowAtTheNextTick)
{
    StoreTarget("12/06/2026 20:00:00", unitHours);
    Start();
    EXPECT_EQ(Display(), "   10 Hrs");
    fixture.clock.Set(At(2026, 12, 6, 15)); // forward five hours, as after a suspend
    QTest::qWait(1100);
    EXPECT_EQ(Display(), "    5 Hrs");
    fixture.clock.Set(At(2026, 12, 6, 7)); // back eight hours
    QTest::qWait(1100);
    EXPECT_EQ(Display(), "   13 Hrs");
}

TEST_F(CountdownWindow, AHugePastedTargetIsAReadingFailure)
{
    StoreTarget("12/07/2026 10:00:00");
    CCountdownDlg& dlg = Start();
    Open();
    QApplication::clipboard()->setText(QString(100000, QChar('7')));
    Edit(IDC_END_DATE)->setFocus();
    Edit(IDC_END_DATE)->selectAll();
    Edit(IDC_END_DATE)->paste();
    Edit(IDC_VAC_DAYS)->setFocus();
    QApplication::processEvents();
    EXPECT_DOUBLE_EQ(dlg.m_EndTime.GetValue(), 0.0); // 30 December 1899: long expired
    EXPECT_EQ(Display(), "-46362 Days");
    EXPECT_TRUE(dlg.isVisible());
}

TEST_F(CountdownWindow, UnitButtonsFormOneGroupAndRefresh)
{
    StoreTarget("12/06/2026 12:00:00");
    CCountdownDlg& dlg = Start();
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

TEST_F(CountdownWindow, StoredUnitOutsideTheButtonsShowsNothing)
{
    StoreTarget("12/07/2026 10:00:00", 9);
    CCountdownDlg& dlg = Start();
    for (int id = IDC_UNIT_HMS; id <= IDC_UNIT_DAYS; ++id)
        EXPECT_FALSE(dlg.Item<QRadioButton>(id)->isChecked());
    EXPECT_EQ(dlg.m_nDisplayPeriod, -1);
    EXPECT_EQ(Display(), "");
}

TEST_F(CountdownWindow, IconPicturesChooseTheWindowIcon)
{
    CCountdownDlg& dlg = Start();
    const IconHandle expected[] = {IDI_FIRECRACKER, IDI_EYE, IDI_FROWN, IDI_SMILE, IDI_CLOCK, IDI_STOPWATCH2};
    for (int k = 5; k >= 0; --k) {
        QTest::mouseClick(dlg.GetDlgItem(IDC_ICON_CHOICE0 + k), Qt::LeftButton);
        EXPECT_EQ(dlg.m_nWhichIcon, k);
        EXPECT_EQ(dlg.m_hIcon, expected[k]);
        EXPECT_EQ(dlg.OnQueryDragIcon(), expected[k]);
        EXPECT_EQ(dlg.windowIcon().pixmap(32).toImage(), IconFromHandle(expected[k]).pixmap(32).toImage());
    }
    EXPECT_TRUE(fixture.store.ints.find("Settings/WhichIcon") == fixture.store.ints.end()); // OK saves it

    // A stored choice outside 0..5 loads nothing and keeps the last icon.
    dlg.m_nWhichIcon = 7;
    dlg.ApplyIconChoice();
    EXPECT_EQ(dlg.m_hIcon, static_cast<IconHandle>(IDI_FIRECRACKER));
}

TEST_F(CountdownWindow, VacationBoxTakesTwoCharacters)
{
    CCountdownDlg& dlg = Start();
    EXPECT_EQ(Edit(IDC_VAC_DAYS)->maxLength(), 2);
    Edit(IDC_VAC_DAYS)->setMaxLength(10); // as before the first exchange out
    Edit(IDC_VAC_DAYS)->setText("123");
    dlg.m_strVacDays = "7";
    EXPECT_FALSE(dlg.UpdateData(true));
    EXPECT_EQ(dlg.m_strVacDays, "7");
    ASSERT_EQ(fixture.messages.shown.size(), 1);
    EXPECT_TRUE(fixture.messages.shown[0].contains("2 characters"));
}

TEST_F(CountdownWindow, UpdateTimerShowsAndTheAlarmKeepsShowing)
{
    StoreTarget("12/07/2026 10:00:00");
    CCountdownDlg& dlg = Start();
    EXPECT_TRUE(dlg.OnCommand(ID_UPDATE_TIMER));
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(dlg.m_bVisible);
    EXPECT_TRUE(dlg.OnCommand(ID_UPDATE_TIMER));
    QTest::qWait(50);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(dlg.OnCommand(12345));
}

TEST_F(CountdownWindow, ExitEscapeAndCloseEndTheModalRunWithoutSaving)
{
    StoreTarget("12/07/2026 10:00:00");
    const std::function<void(CCountdownDlg&)> enders[] = {
        [](CCountdownDlg& d) { d.OnCommand(ID_APP_EXIT); },
        [](CCountdownDlg& d) {
            d.OnCommand(ID_UPDATE_TIMER);
            QTest::keyClick(&d, Qt::Key_Escape);
        },
        [](CCountdownDlg& d) {
            d.OnCommand(ID_UPDATE_TIMER);
            d.close();
        },
    };
    const int codes[] = {QDialog::Accepted, QDialog::Rejected, QDialog::Rejected};
    for (int i = 0; i < 3; ++i) {
        CCountdownDlg dlg(fixture.Services());
        QTimer::singleShot(20, &dlg, [&dlg, &enders, i] { enders[i](dlg); });
        EXPECT_EQ(dlg.DoModal(), codes[i]) << i;
        EXPECT_FALSE(dlg.isVisible());
    }
    EXPECT_TRUE(fixture.store.ints.find("Settings/x") == fixture.store.ints.end());
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

TEST_F(CountdownWindow, DisplayIsBoldFixedPitchGreenAndAsTallAsItsControl)
{
    CCountdownDlg& dlg = Start();
    auto* display = dlg.Item<QLabel>(IDC_DISPLAY);
    ASSERT_TRUE(dlg.m_Font.has_value());
    EXPECT_TRUE(display->font().bold());
    EXPECT_TRUE(QFontInfo(display->font()).fixedPitch());
    EXPECT_EQ(display->font().pixelSize(), display->height());
    EXPECT_EQ(dlg.m_rcDisplay.size(), display->size());
    EXPECT_EQ(display->palette().color(QPalette::WindowText), QColor(0, 255, 0));
    EXPECT_FALSE(display->autoFillBackground());
    EXPECT_NE(dlg.GetDlgItem(IDC_END_DATE)->palette().color(QPalette::WindowText), QColor(0, 255, 0));
}

TEST_F(CountdownWindow, OnlyTheVacationBoxIsATabStop)
{
    CCountdownDlg& dlg = Start();
    for (QWidget* child : dlg.findChildren<QWidget*>()) {
        const bool tabStop = child->focusPolicy() & Qt::TabFocus;
        EXPECT_EQ(tabStop, child == dlg.GetDlgItem(IDC_VAC_DAYS)) << child->metaObject()->className();
    }
}

TEST_F(CountdownWindow, HelpAndAboutCommands)
{
    CCountdownDlg& dlg = Start();
    EXPECT_TRUE(dlg.OnCommand(ID_SHOW_HELP));
    ASSERT_EQ(fixture.messages.shown.size(), 1);
    EXPECT_TRUE(fixture.messages.shown[0].startsWith("I wrote this utility"));

    // About opens for system commands 16 to 31 and for the tray's About.
    QStringList opened;
    const auto closeAbout = [&opened] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            opened.append(box->windowTitle());
            QTest::keyClick(box, Qt::Key_Escape);
        }
    };
    for (unsigned id : {16u, 31u, 32u}) {
        QTimer::singleShot(30, closeAbout);
        dlg.OnSysCommand(id);
        QTest::qWait(60);
    }
    QTimer::singleShot(30, closeAbout);
    dlg.OnCommand(ID_SHOW_ABOUT);
    EXPECT_EQ(opened, QStringList({"About Vostrel", "About Vostrel", "About Vostrel"}));
    EXPECT_FALSE(dlg.isVisible());
}

} // namespace
} // namespace vostrel
