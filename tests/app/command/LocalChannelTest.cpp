// The channel between copies of the program answers its own user only.
#include "app/command/LocalChannel.h"

#include <QtTest>

#include <gtest/gtest.h>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vostrel;

namespace {

// Runs a request from a child process that has become another user, while this process answers; the child's
// exit status: 0 answered, 1 not answered, 2 could not become the user.
int AskAs(uid_t uid, gid_t gid, const QString& name)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)
            ::_exit(2);
        ::_exit(LocalChannel::Ask(name, QByteArrayLiteral("show"), 1000, 2000) ? 0 : 1);
    }
    int status = -1;
    EXPECT_TRUE(QTest::qWaitFor([&] { return ::waitpid(child, &status, WNOHANG) == child; }, 10000));
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(LocalChannel, RefusesAnotherUsersRequestUnread)
{
    const passwd* nobody = ::getpwnam("nobody");
    if (::geteuid() != 0 || !nobody)
        GTEST_SKIP() << "needs root and the user nobody";
    QTemporaryDir dir;
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
    const QString name = dir.filePath("channel.socket");
    int requests = 0;
    LocalChannel channel(name);
    ASSERT_TRUE(channel.Listen([&requests](const QByteArray&) {
        ++requests;
        return QByteArrayLiteral("shown");
    }));
    // The socket is the user's alone; opened to all, as a changed mode or a shared folder would leave it, the
    // other user reaches it but is refused all the same.
    EXPECT_EQ(AskAs(nobody->pw_uid, nobody->pw_gid, name), 1);
    ASSERT_EQ(::chmod(QFile::encodeName(name).constData(), 0777), 0);
    EXPECT_EQ(AskAs(nobody->pw_uid, nobody->pw_gid, name), 1);
    EXPECT_EQ(requests, 0);
    // The user's own request is answered.
    EXPECT_EQ(AskAs(::geteuid(), ::getegid(), name), 0);
    EXPECT_EQ(requests, 1);
}

} // namespace
