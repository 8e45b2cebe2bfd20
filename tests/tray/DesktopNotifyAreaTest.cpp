// Which host the tray icon goes to as StatusNotifierWatchers come and go.
#include "DesktopNotifyArea.h"
#include "CSystemTray.h"
#include "ResourceIds.h"
#include "SniPixmaps.h"
#include "TrayTestSupport.h"
#include "UiTestSupport.h"

#include <QDBusConnectionInterface>
#include <QTest>

#include <gtest/gtest.h>

namespace vostrel {
namespace {

using namespace res;
using test::At;

constexpr std::uint32_t kCallback = WM_USER + 10;

// XEmbed as the test sees it: what is asked of it goes into a log that the
// watcher writes in too, so the order of the two hosts' icons shows.
class LoggingArea final : public NotifyArea {
public:
    explicit LoggingArea(QStringList& log) : m_log(log) {}
    bool IsAvailable() const override { return true; }
    bool ShellNotifyIcon(std::uint32_t request, const NOTIFYICONDATA& record) override
    {
        if (request == NIM_ADD)
            m_log.append(QStringLiteral("xembed add %1 %2").arg(record.hIcon).arg(TipText(record)));
        if (request == NIM_DELETE)
            m_log.append(QStringLiteral("xembed delete"));
        return true;
    }

private:
    QStringList& m_log;
};

class HostChoice : public testing::Test {
protected:
    void Start(DesktopNotifyArea::AreaFactory xembed)
    {
        area.emplace(std::move(xembed));
        tray.emplace(TrayServices{*area, app, clock, messages});
        ASSERT_EQ(tray->AddToTray(nullptr, kCallback, "Vostrel", IDI_STOPWATCH2, IDR_TRAYMENU), TRUE);
    }
    static bool OnBus(const QString& name)
    {
        return test::DesktopBus().interface()->isServiceRegistered(name);
    }

    QStringList log;
    Application app;
    test::FixedClock clock{At(2026, 12, 6, 10)};
    test::RecordingMessages messages;
    std::optional<DesktopNotifyArea> area;
    std::optional<CSystemTray> tray;
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
    const QVariantMap item = test::Properties(service, "/StatusNotifierItem", "org.kde.StatusNotifierItem");
    EXPECT_EQ(item.value("XAyatanaLabel").toString(), "10 Hrs");
    EXPECT_EQ(item.value("Status").toString(), "NeedsAttention");
    // The clock, not the stopwatch it started with.
    EXPECT_EQ(qdbus_cast<SniPixmapList>(item.value("IconPixmap")).value(3).pixels,
              SniPixmapCache().Pixmaps(IDI_CLOCK).value(3).pixels);

    // The watcher goes: XEmbed shows the icon as it is now, and the item has
    // left the bus.
    watcher.reset();
    ASSERT_TRUE(test::WaitUntil([this] { return log.size() == 4; }));
    EXPECT_EQ(log.back(), "xembed add 134    10 Hrs");
    EXPECT_FALSE(OnBus(service));
}

TEST_F(HostChoice, WithoutXEmbedTheIconWaitsForAWatcherAndRegistersAgainWithANewOne)
{
    Start([] { return nullptr; });
    std::optional<test::TestWatcher> watcher(std::in_place);
    ASSERT_TRUE(test::WaitUntil([&] { return !watcher->registered.isEmpty(); }));
    const QString service = watcher->registered.constFirst();

    watcher.reset(); // the desktop's panel restarts
    watcher.emplace();
    ASSERT_TRUE(test::WaitUntil([&] { return !watcher->registered.isEmpty(); }));
    EXPECT_EQ(watcher->registered, QStringList({service}));
    EXPECT_TRUE(OnBus(service));
}

TEST_F(HostChoice, TheIconRegistersOnlyOnceTheWatcherHasAHost)
{
    Start([] { return nullptr; });
    std::optional<test::TestWatcher> watcher;
    watcher.emplace(nullptr, false); // waybar's, before its tray host starts
    ASSERT_TRUE(test::WaitUntil([&] { return watcher->hostQuestions > 0; }));
    // The item is on the bus; a registration it sent before this answer
    // would have reached the watcher first.
    QString service;
    for (const QString& name : test::DesktopBus().interface()->registeredServiceNames().value()) {
        if (name.startsWith("org.kde.StatusNotifierItem-"))
            service = name;
    }
    ASSERT_FALSE(service.isEmpty());
    ASSERT_FALSE(test::Properties(service, "/StatusNotifierItem", "org.kde.StatusNotifierItem").isEmpty());
    QCoreApplication::processEvents();
    EXPECT_TRUE(watcher->registered.isEmpty());

    watcher->RegisterHost();
    ASSERT_TRUE(test::WaitUntil([&] { return !watcher->registered.isEmpty(); }));
    EXPECT_EQ(watcher->registered, QStringList({service}));
}

} // namespace
} // namespace vostrel
