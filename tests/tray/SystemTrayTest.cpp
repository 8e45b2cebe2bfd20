#include "tests/support/Answerer.h"
#include "tests/tray/TrayTestSupport.h"

using namespace vostrel;

namespace {

using namespace res;
using test::At;
using Pictures = std::vector<std::uint32_t>;

// The mouse messages as the notification area sends them.
constexpr std::intptr_t kLeftDoubleClick = 0x0203;
constexpr std::intptr_t kRightButtonUp = 0x0205;

class Tray : public test::TrayFixture {
protected:
    Tray()
    {
        // The menu is looked up afresh at every use, so tests may take it away.
        tray.emplace(TrayServices{area, app, clock, messages,
                                  [this](int id) { return hasMenu ? FindMenu(id) : nullptr; }});
    }
    void Tick() { tray->WindowProc(WM_TIMER, CYCLE_TIMER_ID, 0); }

    test::RecordingTrayArea area;
    bool hasMenu = true;
};

// Tips are cut to 63 characters and refused changes kept; a list of icons
// longer than the ids is out of memory.
TEST_F(Tray, TipsAndIconListsAreCutToWhatTheAreaHolds)
{
    ASSERT_EQ(Add(std::string(100, 'x')), TRUE);
    EXPECT_EQ(std::string(area.requests.back().record.szTip), std::string(63, 'x'));
    EXPECT_EQ(tray->ChangeTip(std::string(64, 'y')), TRUE);
    EXPECT_EQ(area.requests.back().record.uFlags, NIF_TIP); // the area changes only what is flagged
    EXPECT_EQ(std::string(area.requests.back().record.szTip), std::string(63, 'y'));
    area.succeed = false;
    EXPECT_EQ(tray->ChangeIcon(IDI_SMILE), FALSE);
    EXPECT_EQ(tray->CurrentIcon(), static_cast<IconHandle>(IDI_SMILE));

    area.succeed = true;
    EXPECT_EQ(tray->LoadIconRange(0, 0xFFFF), TRUE);   // one icon for every 16-bit id
    EXPECT_EQ(tray->LoadIconRange(0, 0x10000), FALSE); // one more
    EXPECT_EQ(messages.shown, QStringList({"Out of memory."}));
    area.requests.clear();
    tray->StartCycle(100, 1);
    Tick();
    // Destroyed mid-alarm, the icon goes without its picture put back.
    tray.reset();
    ASSERT_EQ(area.requests.size(), 1u);
    EXPECT_EQ(area.requests[0].request, NIM_DELETE);
}

TEST_F(Tray, DoubleClickSendsTheDefaultEntrysCommandAndRightClickPostsTheChosenOne)
{
    ASSERT_EQ(Add(), TRUE);
    // The area says where the click was; the menu opens there. The user chooses
    // About, the fourth entry, once it opens.
    area.eventPosition = QPoint(150, 120);
    QStringList entries;
    QPoint menuAt;
    const QWidget* menuParent = nullptr;
    const test::Answerer answerer([&](QWidget* top) {
        auto* menu = qobject_cast<QMenu*>(top);
        if (!menu || menu->actions().size() < 4)
            return;
        menuAt = menu->pos();
        menuParent = menu->parentWidget();
        for (const QAction* action : menu->actions())
            entries.append(action->isSeparator() ? "-" : action->text());
        entries.append("default " + (menu->defaultAction() ? menu->defaultAction()->text() : QString()));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(menu->actions().at(3)).center());
    });
    EXPECT_EQ(tray->WindowProc(kCallback, IDR_TRAYMENU, kRightButtonUp), 1);
    EXPECT_FALSE(answerer.GaveUp());
    EXPECT_EQ(entries,
              QStringList({"Update Timer", "-", "Help", "About", "-", "E&xit", "default Update Timer"}));
    EXPECT_EQ(menuAt, QPoint(150, 120));
    // An entry chosen from the desktop's own drawing of the menu comes as a
    // command message and, like the popup's, arrives once the handler is done.
    tray->WindowProc(WM_COMMAND, ID_SHOW_HELP, 0);
    EXPECT_TRUE(mainWindow.commands.empty());
    QApplication::processEvents();

    // By position (the fresh default, entry 0), the command comes from the menu as it is now.
    EXPECT_EQ(tray->HandleTrayMessage(IDR_TRAYMENU, kLeftDoubleClick), 1);
    hasMenu = false;
    EXPECT_EQ(tray->HandleTrayMessage(IDR_TRAYMENU, kLeftDoubleClick), 0);
    EXPECT_EQ(tray->HandleTrayMessage(IDR_TRAYMENU, kRightButtonUp), 0); // no menu to show
    // By command id, the command goes without any menu.
    EXPECT_EQ(tray->SetDefaultEntry(ID_APP_EXIT, FALSE), FALSE);
    EXPECT_EQ(tray->WindowProc(kCallback, IDR_TRAYMENU, kLeftDoubleClick), 1);
    // Other icons' messages are not handled; other mouse messages do nothing.
    EXPECT_EQ(tray->HandleTrayMessage(IDR_TRAYMENU + 1, kLeftDoubleClick), 0);
    EXPECT_EQ(tray->HandleTrayMessage(IDR_TRAYMENU, WM_LBUTTONUP), 1);
    EXPECT_EQ(mainWindow.commands,
              std::vector<unsigned>({ID_SHOW_ABOUT, ID_SHOW_HELP, ID_UPDATE_TIMER, ID_APP_EXIT}));

    // Where a menu must hang from a window of the program's own (Wayland), a right click shows the window as
    // a double click does, and the menu opens over it once the window is on screen.
    mainWindow.commands.clear();
    tray.emplace(TrayServices{area, app, clock, messages, FindMenu, false});
    ASSERT_EQ(Add(), TRUE);
    mainWindow.widget.show(); // as Update Timer shows it
    entries.clear();
    menuParent = nullptr;
    EXPECT_EQ(tray->WindowProc(kCallback, IDR_TRAYMENU, kRightButtonUp), 1);
    ASSERT_TRUE(test::WaitUntil([this] { return mainWindow.commands.size() >= 2; }));
    EXPECT_EQ(mainWindow.commands, std::vector<unsigned>({ID_UPDATE_TIMER, ID_SHOW_ABOUT}));
    EXPECT_EQ(entries.size(), 7);
    EXPECT_EQ(menuParent, &mainWindow.widget);
}

TEST_F(Tray, AlarmAnimationAlternatesForWholeSecondsAndPutsThePictureBack)
{
    ASSERT_EQ(Add(), TRUE);
    ASSERT_EQ(tray->LoadIconRange(132, 133), TRUE);
    area.requests.clear();
    ASSERT_EQ(tray->StartCycle(100, 1), TRUE);
    Tick(); // the first tick shows the second picture
    Tick();
    clock.now = At(2026, 12, 6, 10, 0, 1); // exactly the period: still running
    Tick();
    clock.now = At(2026, 12, 6, 10, 0, 2);
    Tick(); // past it: the picture comes back
    Tick(); // and no timer runs any more to change it
    EXPECT_EQ(area.Pictures(), Pictures({IDI_SMILE, IDI_FROWN, IDI_SMILE, IDI_STOPWATCH2}));
    EXPECT_EQ(tray->EndCycle(), FALSE);
    EXPECT_EQ(area.attention, std::vector<bool>({true, false})); // only while it ran

    // A restart begins at the first frame and puts back the saved picture, not
    // the owner's choice made during the alarm.
    area.requests.clear();
    tray->StartCycle(100, 1);
    Tick();
    tray->ChangeIcon(IDI_CLOCK);
    tray->StartCycle(100, 1);
    Tick();
    EXPECT_EQ(tray->EndCycle(), TRUE);
    EXPECT_EQ(area.Pictures(), Pictures({IDI_SMILE, IDI_CLOCK, IDI_STOPWATCH2, IDI_SMILE, IDI_STOPWATCH2}));

    // A clock stepped back past the start ends the animation at the next tick.
    area.requests.clear();
    tray->StartCycle(100, 1);
    Tick();
    clock.now = At(2026, 12, 6, 10, 0, 1);
    Tick();
    Tick();
    EXPECT_EQ(area.Pictures(), Pictures({IDI_SMILE, IDI_STOPWATCH2}));
}

} // namespace
