// One running copy per settings: later starts hand over to it.
#include "app/command/SingleInstance.h"
#include "tests/support/Files.h"

#include <QtTest>

#include <gtest/gtest.h>

#include <future>

using namespace vostrel;

namespace {

using namespace std::chrono_literals;

const RemoteRequest kShow{RemoteRequest::Kind::show, {}, {}};

// Starts a later copy on a thread of its own while this thread answers for
// the running copy; true when the later copy would go on running.
bool StartLaterCopy(const QString& key)
{
    auto later = std::async(std::launch::async, [key] { return SingleInstance(key, 2s).Start(kShow, {}); });
    EXPECT_TRUE(QTest::qWaitFor([&later] { return later.wait_for(0s) == std::future_status::ready; }, 10000));
    return later.get();
}

TEST(SingleInstance, LaterStartsHandOverToTheRunningCopyUnlessItIsGoneOrHung)
{
    QTemporaryDir dir;
    int shown = 0;
    const SingleInstance::Handlers show{[&shown](const RemoteRequest& request) {
                                            EXPECT_EQ(request.kind, RemoteRequest::Kind::show);
                                            ++shown;
                                        },
                                        {}};

    const QString key = dir.filePath("Pelmark-Vostrel.socket");
    SingleInstance running(key);
    ASSERT_TRUE(running.Start(kShow, show));
    EXPECT_FALSE(StartLaterCopy(key));
    EXPECT_FALSE(StartLaterCopy(key));
    EXPECT_TRUE(QTest::qWaitFor([&shown] { return shown == 2; }, 5000));
    // Another program name is another copy.
    EXPECT_TRUE(StartLaterCopy(dir.filePath("Pelmark-Timer.socket")));

    // A copy that accepts the connection but never answers (this thread's, busy
    // starting the next) is replaced, and the replacement answers the next start.
    const QString hungKey = dir.filePath("hung.socket");
    LocalChannel hung(hungKey);
    ASSERT_TRUE(hung.Listen([](const QByteArray&) { return QByteArrayLiteral("never sent"); }));
    SingleInstance replacement(hungKey, 200ms);
    EXPECT_TRUE(replacement.Start(kShow, show));
    EXPECT_FALSE(StartLaterCopy(hungKey));
    EXPECT_TRUE(QTest::qWaitFor([&shown] { return shown == 3; }, 5000));

    // Something else on the name that answers otherwise is not a copy.
    const QString otherKey = dir.filePath("other.socket");
    LocalChannel other(otherKey);
    ASSERT_TRUE(other.Listen([](const QByteArray&) { return QByteArrayLiteral("busy"); }));
    EXPECT_TRUE(StartLaterCopy(otherKey));

    // A name left behind by a copy that is gone does not stop a new one.
    const QString goneKey = dir.filePath("gone.socket");
    ASSERT_TRUE(test::Write(goneKey, {}));
    SingleInstance fresh(goneKey);
    EXPECT_TRUE(fresh.Start(kShow, show));
    EXPECT_FALSE(StartLaterCopy(goneKey));
}

} // namespace
