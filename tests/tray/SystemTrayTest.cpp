#include "CSystemTray.h"
#include "EngineTestSupport.h"
#include "MainWindow.h"
#include "MessageWindow.h"
#include "RecordingNotifyArea.h"
#include "ResourceIds.h"
#include "UiTestSupport.h"

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <cstring>
#include <gtest/gtest.h>

namespace vostrel {
namespace {

using namespace res;
using test::At;

constexpr std::uint32_t kCallback = WM_USER + 10;

// A main window that records the commands it receives.
class CommandRecorder final : public CommandWindow {
public:
    void SendCommand(unsigned id) override { commands.push_back(id); }
    QWidget* Widget() override { return &widget; }
    std::vector<unsigned> commands;
    QWidget widget;
};

class ParentWindow final : public MessageWindow {
public:
    std::intptr_t WindowProc(std::uint32_t message, std::uintptr_t, std::intptr_t) override
    {
        received.push_back(message);
        return 0;
    }
    std::vector<std::uint32_t> received;
};

class Tray : public testing::Test {
protected:
    Tray() { app.SetMainWnd(&mainWindow); }

    TrayServices Services()
    {
        return {area, app, clock, messages, [this](int id) {
                    ++menuLoads;
                    return hasMenu ? FindMenu(id) : nullptr;
                }};
    }
    BOOL Add(CSystemTray& tray, const std::string& tip = "Vostrel")
    {
        return tray.AddToTray(nullptr, kCallback, tip, IDI_STOPWATCH2, IDR_TRAYMENU);
    }
    void Tick(CSystemTray& tray) { tray.WindowProc(WM_TIMER, CYCLE_TIMER_ID, 0); }

    test::RecordingNotifyArea area;
    Application app;
    CommandRecorder mainWindow;
    test::FixedClock clock{At(2026, 12, 6, 10)};
    test::RecordingMessages messages;
    int menuLoads = 0;
    bool hasMenu = true;
};

TEST_F(Tray, WithoutANotificationAreaNothingHappens)
{
    area.available = false;
    CSystemTray tray(Services());
    EXPECT_EQ(Add(tray), FALSE);
    EXPECT_FALSE(tray.HasWindow());
    EXPECT_EQ(tray.ChangeTip("1 Days"), FALSE);
    EXPECT_EQ(tray.ChangeIcon(IDI_SMILE), FALSE);
    EXPECT_EQ(tray.CurrentIcon(), 0u);
    tray.DeleteFromTray();
    EXPECT_TRUE(area.requests.empty());

    // Before any add the record stays all zero.
    CSystemTray fresh(Services());
    EXPECT_EQ(fresh.ChangeIcon(IDI_SMILE), FALSE);
    const NOTIFYICONDATA zero{};
    EXPECT_EQ(std::memcmp(&fresh.Record(), &zero, sizeof zero), 0);
}

TEST_F(Tray, AddFillsTheRecordAndDeleteSendsOnce)
{
    {
        CSystemTray tray(Services());
        ASSERT_EQ(Add(tray), TRUE);
        ASSERT_EQ(area.requests.size(), 1u);
        const NOTIFYICONDATA& sent = area.requests[0].record;
        EXPECT_EQ(area.requests[0].request, NIM_ADD);
        EXPECT_EQ(sent.cbSize, 88u);
        EXPECT_EQ(sent.uID, static_cast<std::uint32_t>(IDR_TRAYMENU));
        EXPECT_EQ(sent.uFlags, NIF_MESSAGE | NIF_ICON | NIF_TIP);
        EXPECT_EQ(sent.uCallbackMessage, kCallback);
        EXPECT_EQ(sent.hIcon, static_cast<std::uint32_t>(IDI_STOPWATCH2));
        EXPECT_STREQ(sent.szTip, "Vostrel");
        ASSERT_TRUE(tray.HasWindow());
        EXPECT_NE(MessageWindow::FromHandle(sent.hWnd), nullptr); // the hidden window

        tray.DeleteFromTray();
        tray.DeleteFromTray();
        ASSERT_EQ(area.requests.size(), 2u);
        EXPECT_EQ(area.requests[1].request, NIM_DELETE);
        EXPECT_EQ(area.requests[1].record.uFlags, 0u);
        EXPECT_EQ(tray.Record().uID, static_cast<std::uint32_t>(IDR_TRAYMENU));
        EXPECT_EQ(tray.ChangeTip("x"), FALSE);
    }
    EXPECT_EQ(area.requests.size(), 2u); // destroying a removed icon sends nothing more
}

TEST_F(Tray, TipsAreCutToSixtyThreeCharacters)
{
    CSystemTray tray(Services());
    const std::string tip63(63, 'x');
    ASSERT_EQ(Add(tray, tip63), TRUE);
    EXPECT_EQ(std::string(tray.Record().szTip), tip63);
    EXPECT_EQ(tray.Record().szTip[63], '\0');
    EXPECT_EQ(tray.ChangeTip(std::string(100, 'y')), TRUE);
    EXPECT_EQ(std::string(tray.Record().szTip), std::string(63, 'y'));
    EXPECT_EQ(area.requests.back().record.uFlags, NIF_TIP);
}

TEST_F(Tray, FailedRequestsKeepTheNewValues)
{
    CSystemTray tray(Services());
    area.succeed = false;
    EXPECT_EQ(Add(tray), FALSE);
    EXPECT_TRUE(tray.HasWindow()); // the add was refused, the window stays

    CSystemTray inTray(Services());
    area.succeed = true;
    ASSERT_EQ(Add(inTray), TRUE);
    area.succeed = false;
    EXPECT_EQ(inTray.ChangeIcon(IDI_SMILE), FALSE);
    EXPECT_EQ(inTray.CurrentIcon(), static_cast<IconHandle>(IDI_SMILE));
    EXPECT_EQ(inTray.ChangeTip("2 Days"), FALSE);
    EXPECT_STREQ(inTray.Record().szTip, "2 Days");
}

TEST_F(Tray, DefaultEntryAndDoubleClick)
{
    CSystemTray tray(Services());
    hasMenu = false;
    EXPECT_EQ(tray.SetDefaultEntry(0, TRUE), TRUE); // the fresh default: no menu needed
    EXPECT_EQ(menuLoads, 0);
    ASSERT_EQ(Add(tray), TRUE);

    // By position, a double click looks the command up in the menu.
    hasMenu = true;
    EXPECT_EQ(tray.HandleTrayMessage(IDR_TRAYMENU, WM_LBUTTONDBLCLK), 1);
    EXPECT_EQ(mainWindow.commands, std::vector<unsigned>({ID_UPDATE_TIMER}));
    hasMenu = false;
    EXPECT_EQ(tray.HandleTrayMessage(IDR_TRAYMENU, WM_LBUTTONDBLCLK), 0);
    EXPECT_EQ(mainWindow.commands.size(), 1u);

    // By command id, it sends the command without any menu.
    EXPECT_EQ(tray.SetDefaultEntry(ID_APP_EXIT, FALSE), FALSE); // no menu, pair kept
    const int loads = menuLoads;
    EXPECT_EQ(tray.HandleTrayMessage(IDR_TRAYMENU, WM_LBUTTONDBLCLK), 1);
    EXPECT_EQ(mainWindow.commands.back(), static_cast<unsigned>(ID_APP_EXIT));
    EXPECT_EQ(menuLoads, loads);

    // Other icons and other mouse messages.
    EXPECT_EQ(tray.HandleTrayMessage(IDR_TRAYMENU + 1, WM_LBUTTONDBLCLK), 0);
    EXPECT_EQ(tray.HandleTrayMessage(IDR_TRAYMENU, WM_MOUSEMOVE), 1);
    EXPECT_EQ(tray.WindowProc(kCallback, IDR_TRAYMENU, WM_LBUTTONUP), 1);
    EXPECT_EQ(tray.HandleTrayMessage(IDR_TRAYMENU, WM_RBUTTONUP), 0); // no menu to show
    EXPECT_EQ(mainWindow.commands.size(), 2u);
}

TEST_F(Tray, RightClickShowsTheMenuWithUpdateTimerAsDefault)
{
    CSystemTray tray(Services());
    ASSERT_EQ(Add(tray), TRUE);
    QStringList entries;
    QString boldEntry;
    QTimer::singleShot(50, [&] {
        QMenu* menu = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* candidate = qobject_cast<QMenu*>(top); candidate && candidate->isVisible())
                menu = candidate;
        }
        if (!menu)
            return;
        for (QAction* action : menu->actions())
            entries.append(action->isSeparator() ? "-" : action->text());
        boldEntry = menu->defaultAction() ? menu->defaultAction()->text() : QString();
        QAction* about = menu->actions().at(3);
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(about).center());
    });
    EXPECT_EQ(tray.WindowProc(kCallback, IDR_TRAYMENU, WM_RBUTTONUP), 1);
    EXPECT_EQ(entries, QStringList({"Update Timer", "-", "Help", "About", "-", "E&xit"}));
    EXPECT_EQ(boldEntry, "Update Timer");
    EXPECT_TRUE(mainWindow.commands.empty()); // it arrives once the handler is done
    QApplication::processEvents();
    EXPECT_EQ(mainWindow.commands, std::vector<unsigned>({ID_SHOW_ABOUT}));
}

TEST_F(Tray, ParentWindowReceivesTheNotifications)
{
    ParentWindow parent;
    CSystemTray tray(Services());
    ASSERT_EQ(tray.AddToTray(&parent, kCallback, "Vostrel", IDI_CLOCK, IDR_TRAYMENU), TRUE);
    EXPECT_EQ(tray.Record().hWnd, parent.Handle());
    EXPECT_TRUE(tray.HasWindow());
}

TEST_F(Tray, AlarmAnimationAlternatesAndPutsThePictureBack)
{
    CSystemTray tray(Services());
    EXPECT_EQ(tray.StartCycle(100, 1), FALSE); // no window yet: nothing to animate
    EXPECT_EQ(tray.EndCycle(), FALSE);
    ASSERT_EQ(Add(tray), TRUE);
    EXPECT_EQ(tray.LoadIconRange(133, 132), FALSE);
    EXPECT_TRUE(tray.FrameIcons().empty());
    ASSERT_EQ(tray.LoadIconRange(132, 133), TRUE);
    EXPECT_EQ(std::vector<IconHandle>(tray.FrameIcons().begin(), tray.FrameIcons().end()),
              std::vector<IconHandle>({IDI_FROWN, IDI_SMILE}));

    area.requests.clear();
    ASSERT_EQ(tray.StartCycle(100, 1), TRUE);
    Tick(tray);
    Tick(tray);
    clock.Set(At(2026, 12, 6, 10, 0, 1)); // exactly the period: still running
    Tick(tray);
    clock.Set(At(2026, 12, 6, 10, 0, 2));
    Tick(tray); // past it: the picture comes back
    Tick(tray); // and no timer runs any more to change it
    EXPECT_EQ(area.Pictures(), std::vector<std::uint32_t>({IDI_SMILE, IDI_FROWN, IDI_SMILE, IDI_STOPWATCH2}));
    EXPECT_EQ(tray.EndCycle(), FALSE);
}

TEST_F(Tray, RestartsAndOwnerChangesKeepTheSavedPicture)
{
    CSystemTray tray(Services());
    ASSERT_EQ(Add(tray), TRUE);
    tray.LoadIconRange(132, 133);
    area.requests.clear();
    tray.StartCycle(100, 1);
    Tick(tray);                 // 133
    tray.ChangeIcon(IDI_CLOCK); // the owner's choice during the alarm is not saved
    tray.StartCycle(100, 1);    // puts 136 back, saves it again
    Tick(tray);                 // 133
    EXPECT_EQ(tray.EndCycle(), TRUE);
    EXPECT_EQ(tray.EndCycle(), FALSE);
    EXPECT_EQ(area.Pictures(),
              std::vector<std::uint32_t>({IDI_SMILE, IDI_CLOCK, IDI_STOPWATCH2, IDI_SMILE, IDI_STOPWATCH2}));

    // Zero seconds runs until stopped, and a real timer drives it.
    area.requests.clear();
    ASSERT_EQ(tray.StartCycle(5, 0), TRUE);
    clock.Set(At(2027, 1, 1));
    QTest::qWait(60);
    EXPECT_GE(area.Pictures().size(), 3u);
    EXPECT_EQ(tray.EndCycle(), TRUE);
    EXPECT_EQ(area.Pictures().back(), static_cast<std::uint32_t>(IDI_STOPWATCH2));
}

TEST_F(Tray, EmptyOrOversizedIconListsAnimateNothing)
{
    CSystemTray tray(Services());
    ASSERT_EQ(Add(tray), TRUE);
    EXPECT_EQ(tray.AdvanceCycle(), FALSE);
    ASSERT_EQ(tray.LoadIconRange(IDI_SMILE, IDI_SMILE), TRUE);
    EXPECT_EQ(tray.LoadIconRange(0, 0x20000), FALSE); // more icons than there are ids
    EXPECT_TRUE(tray.FrameIcons().empty());
    EXPECT_EQ(messages.shown.size(), 1);
    area.requests.clear();
    tray.StartCycle(100, 1);
    Tick(tray);
    EXPECT_TRUE(area.Pictures().empty());
}

TEST_F(Tray, DestructionRemovesTheIconWithoutRestoring)
{
    {
        CSystemTray tray(Services());
        ASSERT_EQ(Add(tray), TRUE);
        tray.LoadIconRange(132, 133);
        tray.StartCycle(100, 1);
        Tick(tray);
        area.requests.clear();
    }
    ASSERT_EQ(area.requests.size(), 1u);
    EXPECT_EQ(area.requests[0].request, NIM_DELETE);
}

} // namespace
} // namespace vostrel
