// The tray icon on a StatusNotifierItem desktop, as a host on the bus sees it: the watcher here is the
// test's, on a connection of its own; and which host the icon goes to as watchers come and go.
#include "tests/support/Answerer.h"
#include "tests/tray/TrayTestSupport.h"
#include "tray/DesktopTrayArea.h"
#include "tray/sni/DBusMenuTypes.h"
#include "tray/sni/SniPixmapCache.h"
#include "tray/sni/SniTypes.h"
#include "tray/sni/StatusNotifierService.h"
#include "tray/sni/StatusNotifierTrayArea.h"

#include <set>

using namespace vostrel;

namespace {

using namespace res;
using test::Call;

const QString kItem = QStringLiteral("org.kde.StatusNotifierItem");
const QString kItemPath = QStringLiteral("/StatusNotifierItem");
const QString kMenu = QStringLiteral("com.canonical.dbusmenu");
const QString kMenuPath = QStringLiteral("/MenuBar");

class StatusNotifier : public test::TrayFixture {
protected:
    StatusNotifier() { tray.emplace(TrayServices{area, app, clock, messages}); }
    // Adds the icon and waits for the watcher to hear of it.
    void SetUp() override
    {
        ASSERT_EQ(Add(), TRUE);
        ASSERT_TRUE(test::WaitUntil([this] { return !watcher.registered.isEmpty(); }));
        service = watcher.registered.constFirst();
    }
    QVariantMap Item() { return test::Properties(service, kItemPath, kItem); }

    test::TestWatcher watcher;
    StatusNotifierTrayArea area;
    QString service; // the icon's bus name
};

// What a host reads of the item, and the signals that tell it of changes: only when something changed.
TEST_F(StatusNotifier, ShowsTheTipAndEverySizeOfPictureAndSignalsOnlyWhatChanged)
{
    // Registered by its path, on a connection that also holds the name hosts look for items by.
    EXPECT_EQ(watcher.said, QStringList({kItemPath}));
    const QString prefix = QString("%1-%2-").arg(kItem).arg(QCoreApplication::applicationPid());
    EXPECT_TRUE(std::ranges::any_of(
        test::DesktopBus().interface()->registeredServiceNames().value(), [&](auto& name) {
            return name.startsWith(prefix) && test::DesktopBus().interface()->serviceOwner(name) == service;
        }));
    // Every property hosts ask for is there; the pictures come as pixmaps only.
    const QVariantMap item = Item();
    EXPECT_EQ(QStringList({item.value("Category").toString(), item.value("Id").toString(),
                           item.value("Title").toString(), item.value("Status").toString(),
                           item.value("Menu").value<QDBusObjectPath>().path(),
                           qdbus_cast<SniToolTip>(item.value("ToolTip")).title,
                           item.value("IconAccessibleDesc").toString(),
                           item.value("AttentionAccessibleDesc").toString()}),
              QStringList({"ApplicationStatus", QCoreApplication::applicationName(), "Vostrel", "Active",
                           kMenuPath, "Vostrel", "Vostrel", ""}));
    EXPECT_EQ(item.value("ItemIsMenu"), QVariant(false));
    EXPECT_EQ(item.value("XAyatanaOrderingIndex"), QVariant(0u));
    for (const char* name :
         {"IconName", "IconThemePath", "OverlayIconName", "AttentionIconName", "AttentionMovieName"})
        EXPECT_EQ(item.value(name), QVariant(QString())) << name;
    for (const char* name : {"OverlayIconPixmap", "AttentionIconPixmap"})
        EXPECT_TRUE(qdbus_cast<SniPixmapList>(item.value(name)).isEmpty()) << name;
    // GNOME's middle click.
    EXPECT_EQ(Call(service, kItemPath, kItem, "XAyatanaSecondaryActivate", {0u}).type(),
              QDBusMessage::ReplyMessage);

    // Pixmaps come in every size, big-endian and unsmoothed.
    tray->ChangeIcon(IDI_FROWN); // a 32-pixel drawing only: yellow face, black eyes and outline
    QList<int> sizes;
    for (const SniPixmap& pixmap : qdbus_cast<SniPixmapList>(Item().value("IconPixmap"))) {
        sizes.append(pixmap.width);
        std::set<quint32> colours;
        for (int at = 0; at + 4 <= pixmap.pixels.size(); at += 4) // A, R, G, B as one big-endian number
            colours.insert(qFromBigEndian<quint32>(pixmap.pixels.constData() + at));
        EXPECT_EQ(colours, std::set<quint32>({0x00000000, 0xFF000000, 0xFFFFFF00})) << pixmap.width;
    }
    EXPECT_EQ(sizes, QList<int>({16, 22, 24, 32, 48, 64}));
    tray->ChangeIcon(IDI_STOPWATCH2);

    test::SignalLog log(service);
    const auto unchangedTicks = [this](const std::string& tip) {
        for (int i = 0; i < 3; ++i) {
            tray->ChangeTip(tip);
            tray->ChangeIcon(IDI_STOPWATCH2);
        }
    };
    unchangedTicks("Vostrel");
    tray->ChangeTip("   10 Hrs");
    unchangedTicks("   10 Hrs");
    tray->ChangeTip("   11 Hrs"); // the guide stays "00 Hrs"
    unchangedTicks("   11 Hrs");
    tray->ChangeIcon(IDI_CLOCK);
    // Signals from one sender arrive in order: anything the unchanged ticks sent
    // would come before the last change's.
    ASSERT_TRUE(test::WaitUntil([&log] { return log.messages.size() >= 7; }));
    EXPECT_EQ(log.Names(), QStringList({"NewToolTip", "XAyatanaNewLabel", "PropertiesChanged", "NewToolTip",
                                        "XAyatanaNewLabel", "PropertiesChanged", "NewIcon"}));
    EXPECT_EQ(log.messages[1].arguments(), QVariantList({"10 Hrs", "00 Hrs"}));
    EXPECT_EQ(log.messages[2].arguments().at(0).toString(), kItem);
    EXPECT_EQ(qdbus_cast<QVariantMap>(log.messages[2].arguments().at(1)),
              QVariantMap({{"XAyatanaLabel", "10 Hrs"},
                           {"XAyatanaLabelGuide", "00 Hrs"},
                           {"IconAccessibleDesc", "Vostrel, 10 Hrs left"}}));
    EXPECT_EQ(qdbus_cast<QVariantMap>(log.messages[5].arguments().at(1)),
              QVariantMap({{"XAyatanaLabel", "11 Hrs"}, {"IconAccessibleDesc", "Vostrel, 11 Hrs left"}}));
    EXPECT_EQ(qdbus_cast<SniToolTip>(Item().value("ToolTip")).title, "11 Hrs");
}

// An alarm, as the countdown runs it: restarted every second, its frames changing ten times a second. Hosts
// hear of the attention once as it begins and once as it ends, with the attention picture first, and of one
// frame a second, the frames in turn, the tip's second bringing the frame due with it; the picture put back
// at each restart is not among them.
TEST_F(StatusNotifier, AnAlarmIsAnnouncedOnceAndItsFramesAtTheTicksPace)
{
    ASSERT_EQ(tray->LoadIconRange(IDI_FROWN, IDI_SMILE), TRUE);
    test::SignalLog log(service);
    const auto frame = [this] { tray->WindowProc(WM_TIMER, CYCLE_TIMER_ID, 0); };
    // The signals' names, once at least this many have come.
    const auto heard = [&log](int count) {
        test::WaitUntil([&] { return log.messages.size() >= count; });
        return log.Names();
    };
    const auto shown = [this](const char* property) {
        const SniPixmapList pixmaps = qdbus_cast<SniPixmapList>(Item().value(property));
        return pixmaps.isEmpty() ? QByteArray() : pixmaps.constFirst().pixels;
    };
    const auto picture = [](IconHandle icon) { return SniPixmapCache().Pixmaps(icon).constFirst().pixels; };

    tray->StartCycle(100, 0);
    ASSERT_EQ(heard(2), QStringList({"NewAttentionIcon", "NewStatus"}));
    EXPECT_EQ(log.messages[1].arguments(), QVariantList({"NeedsAttention"}));
    EXPECT_EQ(shown("AttentionIconPixmap"), picture(IDI_STOPWATCH2)); // until the first frame
    EXPECT_EQ(Item().value("AttentionAccessibleDesc").toString(), "Vostrel, time is up");
    frame();                  // the smile, told at once
    frame();                  // the frown, held
    tray->StartCycle(100, 0); // the next second
    frame();                  // the smile again
    ASSERT_GE(heard(4).size(), 4);
    tray->ChangeTip("  0:0:-1 HMS");
    EXPECT_EQ(heard(9).mid(2), QStringList({"NewIcon", "NewAttentionIcon", "NewIcon", "NewAttentionIcon",
                                            "NewToolTip", "XAyatanaNewLabel", "PropertiesChanged"}));
    EXPECT_EQ(Item().value("Status").toString(), "NeedsAttention");
    EXPECT_EQ(shown("IconPixmap"), picture(IDI_FROWN));
    EXPECT_EQ(shown("AttentionIconPixmap"), picture(IDI_FROWN));

    // Without a new tip the next frame comes when its second is over.
    log.messages.clear();
    tray->StartCycle(100, 0);
    frame();
    frame();
    EXPECT_EQ(heard(2), QStringList({"NewIcon", "NewAttentionIcon"}));
    EXPECT_EQ(shown("AttentionIconPixmap"), picture(IDI_SMILE));

    // The end: the picture put back at once, then the status.
    log.messages.clear();
    tray->EndCycle();
    ASSERT_EQ(heard(3), QStringList({"NewIcon", "NewStatus", "NewAttentionIcon"}));
    EXPECT_EQ(log.messages[1].arguments(), QVariantList({"Active"}));
    EXPECT_EQ(shown("IconPixmap"), picture(IDI_STOPWATCH2));
    EXPECT_EQ(shown("AttentionIconPixmap"), QByteArray());
    EXPECT_EQ(Item().value("AttentionAccessibleDesc").toString(), ""); // Xfce would show it

    // Gone from the bus with the icon.
    tray.reset();
    EXPECT_EQ(Item(), QVariantMap());
}

// A watcher that drops the item while it is still here (GNOME's extension does, now and then) has it
// registered again, once for each drop, but not for ever; another item's drop changes nothing.
TEST_F(StatusNotifier, RegistersAgainWhenTheWatcherDropsIt)
{
    const auto registrations = [this](qsizetype count) {
        const bool reached = test::WaitUntil([&] { return watcher.registered.size() >= count; });
        QTest::qWait(100); // and no more come
        return reached && watcher.registered.size() == count;
    };
    watcher.Dropped(kItem + "-1-1");
    watcher.Dropped(service + kItemPath); // KDE's way of naming it
    EXPECT_TRUE(registrations(2));
    watcher.Dropped(service + "@" + kItemPath); // GNOME's
    EXPECT_TRUE(registrations(3));
    EXPECT_EQ(watcher.registered.toList(), QStringList({service, service, service}));
    for (int drop = 0; drop < 5; ++drop)
        watcher.Dropped(service);
    EXPECT_TRUE(registrations(1 + StatusNotifierService::kRenewalsPerMinute));
}

// An activation token from the host is left for the window's next activation.
TEST_F(StatusNotifier, ActivateIsTheDoubleClickTheContextMenuOpensAtThePointAfterTheReplyAndTheMenuIsExported)
{
    qunsetenv("XDG_ACTIVATION_TOKEN");
    EXPECT_EQ(Call(service, kItemPath, kItem, "ProvideXdgActivationToken", {"token-from-the-host"}).type(),
              QDBusMessage::ReplyMessage);
    EXPECT_EQ(qEnvironmentVariable("XDG_ACTIVATION_TOKEN"), "token-from-the-host");
    qunsetenv("XDG_ACTIVATION_TOKEN");
    EXPECT_EQ(Call(service, kItemPath, kItem, "Activate", {5, 5}).type(), QDBusMessage::ReplyMessage);
    ASSERT_TRUE(test::WaitUntil([this] { return !mainWindow.commands.empty(); }));
    EXPECT_EQ(mainWindow.commands, std::vector<unsigned>({ID_UPDATE_TIMER}));

    // While the popup is open, the host must already have its reply; it closes
    // once the reply is seen, or after a few seconds without one.
    QCursor::setPos(10, 10);
    const QDBusPendingCall reply = test::DesktopBus().asyncCall(
        QDBusMessage::createMethodCall(service, kItemPath, kItem, "ContextMenu") << 150 << 120);
    std::optional<QPoint> menuAt;
    bool repliedWhileOpen = false;
    const test::Answerer closer([&](QWidget* menu) {
        menuAt = menu->pos();
        repliedWhileOpen = reply.isFinished();
        if (repliedWhileOpen)
            menu->close();
    });
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return menuAt && reply.isFinished() && !QApplication::activePopupWidget(); }, 10000));
    EXPECT_TRUE(repliedWhileOpen);
    EXPECT_EQ(*menuAt, QPoint(150, 120));

    const QVariantMap menu = test::Properties(service, kMenuPath, kMenu);
    EXPECT_EQ(menu.value("Version"), QVariant(3u));
    EXPECT_EQ(menu.value("Status").toString(), "normal");

    const auto layout = qdbus_cast<DBusMenuLayoutItem>(
        Call(service, kMenuPath, kMenu, "GetLayout", {0, -1, QStringList()}).arguments().value(1));
    EXPECT_EQ(layout.id, 0);
    EXPECT_EQ(layout.properties.value("children-display").toString(), "submenu");
    const QVariantMap separator{{"type", "separator"}};
    const std::vector<std::pair<int, QVariantMap>> expected = {
        {1, {{"label", "Update Timer"}}}, {2, separator}, {3, {{"label", "Help"}}},
        {4, {{"label", "About"}}},        {5, separator}, {6, {{"label", "E_xit"}}},
    };
    std::vector<std::pair<int, QVariantMap>> entries;
    for (const DBusMenuLayoutItem& child : layout.children) {
        entries.emplace_back(child.id, child.properties);
        EXPECT_TRUE(child.children.isEmpty());
    }
    EXPECT_EQ(entries, expected);
    EXPECT_EQ(Call(service, kMenuPath, kMenu, "GetLayout", {7, -1, QStringList()}).type(),
              QDBusMessage::ErrorMessage);

    // About, then Update Timer and an entry that does not exist, as a group, after Activate's Update Timer.
    Call(service, kMenuPath, kMenu, "Event", {4, "clicked", QVariant::fromValue(QDBusVariant(0)), 0u});
    const QDBusMessage group =
        Call(service, kMenuPath, kMenu, "EventGroup",
             {QVariant::fromValue(QList<DBusMenuEvent>{{1, "clicked", QDBusVariant(0), 0},
                                                       {9, "clicked", QDBusVariant(0), 0}})});
    ASSERT_EQ(group.type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(qdbus_cast<QList<int>>(group.arguments().at(0)), QList<int>({9}));
    ASSERT_TRUE(test::WaitUntil([this] { return mainWindow.commands.size() >= 3; }));
    EXPECT_EQ(mainWindow.commands, std::vector<unsigned>({ID_UPDATE_TIMER, ID_SHOW_ABOUT, ID_UPDATE_TIMER}));
}

// XEmbed as the test sees it: its icon's coming and going goes into a log
// that the watcher writes in too, so the order of the two hosts' icons shows.
struct LoggingArea final : TrayArea {
    explicit LoggingArea(QStringList& log) : log(log) {}
    bool IsAvailable() const override { return true; }
    bool ShellNotifyIcon(std::uint32_t request, const NOTIFYICONDATA& record) override
    {
        if (request != NIM_MODIFY)
            log.append(request == NIM_DELETE
                           ? QStringLiteral("xembed delete")
                           : QStringLiteral("xembed add %1 %2").arg(record.hIcon).arg(TipText(record)));
        return true;
    }
    QStringList& log;
};

class HostChoice : public test::TrayFixture {
protected:
    void Start(DesktopTrayArea::AreaFactory xembed)
    {
        area.emplace(std::move(xembed));
        tray.emplace(TrayServices{*area, app, clock, messages});
        ASSERT_EQ(Add(), TRUE);
    }

    QStringList log;
    std::optional<DesktopTrayArea> area;
};

TEST_F(HostChoice, TheIconMovesToAWatcherAndBackToXEmbedAsItComesAndGoes)
{
    Start([this] { return std::make_unique<LoggingArea>(log); });
    EXPECT_EQ(log, QStringList({"xembed add 136 Vostrel"}));
    tray->ChangeTip("   10 Hrs");
    tray->ChangeIcon(IDI_CLOCK);
    ASSERT_EQ(tray->LoadIconRange(IDI_FROWN, IDI_SMILE), TRUE);
    tray->StartCycle(100, 0); // an alarm with no end: it needs attention throughout

    std::optional<test::TestWatcher> watcher;
    watcher.emplace([this](const QString&) { log.append("sni register"); });
    ASSERT_TRUE(test::WaitUntil([&] { return !watcher->registered.isEmpty(); }));
    EXPECT_EQ(log, QStringList({"xembed add 136 Vostrel", "xembed delete", "sni register"}));
    const QString service = watcher->registered.constFirst();
    const QVariantMap item = test::Properties(service, kItemPath, kItem);
    EXPECT_EQ(item.value("XAyatanaLabel").toString(), "10 Hrs");
    EXPECT_EQ(item.value("Status").toString(), "NeedsAttention");
    // The clock, not the stopwatch it started with.
    EXPECT_EQ(qdbus_cast<SniPixmapList>(item.value("IconPixmap")).value(3).pixels,
              SniPixmapCache().Pixmaps(IDI_CLOCK).value(3).pixels);

    // The watcher goes: XEmbed shows the icon as it is now, and the item has left the bus.
    watcher.reset();
    ASSERT_TRUE(test::WaitUntil([this] { return log.size() == 4; }));
    EXPECT_EQ(log.back(), "xembed add 134    10 Hrs");
    EXPECT_FALSE(test::DesktopBus().interface()->isServiceRegistered(service));
}

// On Wayland nothing else shows the icon: a watcher that was there first must
// be used at once, not only when it changes owner.
TEST_F(HostChoice, AWatcherAlreadyOnTheBusTakesTheIconFromTheStart)
{
    test::TestWatcher watcher([this](const QString&) { log.append("sni register"); });
    Start([this] { return std::make_unique<LoggingArea>(log); });
    ASSERT_TRUE(test::WaitUntil([&] { return !watcher.registered.isEmpty(); }));
    EXPECT_EQ(log, QStringList({"sni register"}));
}

} // namespace
