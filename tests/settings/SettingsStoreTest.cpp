#include "settings/SettingsFileStore.h"
#include "tests/support/Files.h"

#include <QtCore>

#include <gtest/gtest.h>

#include <csignal>
#include <future>

using namespace vostrel;

namespace {

using test::Contents;

// Each test gets its own configuration folder, never the user's own.
class SettingsFile : public testing::Test {
protected:
    SettingsFile() { QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path()); }

    QString FilePath() const { return m_dir.path() + "/Pelmark/Vostrel.conf"; }
    bool Parses() const
    {
        QSettings settings(FilePath(), QSettings::IniFormat);
        settings.allKeys();
        return settings.status() == QSettings::NoError;
    }
    std::string EndDate() { return store.ReadText("Settings", "EndDate", ""); }

    QTemporaryDir m_dir;
    SettingsFileStore store{QStringLiteral("Pelmark"), QStringLiteral("Vostrel")};
};

// Hand-edited integers that are not whole 32-bit numbers, and a corrupt file,
// read as the defaults; a text with unquoted commas reads as it was.
TEST_F(SettingsFile, IntegersAndTextsKeepTheirOwnKinds)
{
    ASSERT_TRUE(test::Write(FilePath(), "[Settings]\nDisplayPeriod=abc\nWhichIcon=1.5\nx=99999999999\n"
                                        "EndDate=Dec 31, 2027\nVacationDays=007\n"));
    for (const char* name : {"DisplayPeriod", "WhichIcon", "x", "missing"})
        EXPECT_EQ(store.ReadInt("Settings", name, -7), -7) << name;
    EXPECT_EQ(store.ReadText("Settings", "EndDate", ""), "Dec 31, 2027");
    EXPECT_EQ(store.ReadText("Settings", "VacationDays", ""), "007");
    EXPECT_EQ(store.ReadInt("Settings", "VacationDays", 0), 7);

    QByteArray noise;
    for (int i = 0; i < 4096; ++i)
        noise += static_cast<char>((i * 7919) % 256);
    ASSERT_TRUE(test::Write(FilePath(), noise));
    EXPECT_EQ(store.ReadText("Settings", "EndDate", "01/01/2001"), "01/01/2001");
    EXPECT_EQ(store.ReadInt("Settings", "VacationDays", -7), -7);
}

// A save that fails, here on a full disk, leaves the old file as it was.
TEST_F(SettingsFile, AFailedSaveKeepsTheOldFile)
{
    const QString disk = m_dir.path() + "/disk";
    QDir().mkpath(disk);
    if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", disk}) != 0)
        GTEST_SKIP() << "cannot mount a small file system here";
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, disk);
    store.WriteText("Settings", "EndDate", "12/31/2027");
    const QByteArray before = Contents(disk + "/Pelmark/Vostrel.conf");
    QFile filler(disk + "/filler");
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    while (filler.write(QByteArray(4096, 'x')) > 0 && filler.flush()) {
    }
    filler.close();

    store.WriteText("Settings", "EndDate", std::string(20000, '1'));
    store.WriteInt("Settings", "DisplayPeriod", 3);
    EXPECT_TRUE(before.contains("EndDate=12/31/2027\n"));
    EXPECT_EQ(Contents(disk + "/Pelmark/Vostrel.conf"), before);
    QProcess::execute("umount", {"-l", disk});
}

// A copy killed as it took the lock leaves an empty lock file behind.
TEST_F(SettingsFile, AnAbandonedLockDoesNotHoldUpTheNextSaveAndAKilledSaveLeavesTheOldFileOrTheNew)
{
    QDir().mkpath(m_dir.path() + "/Pelmark");
    QFile lock(FilePath() + ".lock");
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.setFileTime(QDateTime::currentDateTime().addSecs(-10), QFileDevice::FileModificationTime);
    lock.close();
    auto save =
        std::async(std::launch::async, [this] { store.WriteText("Settings", "EndDate", "12/31/2027"); });
    ASSERT_EQ(save.wait_for(std::chrono::seconds(15)), std::future_status::ready); // Qt alone waits 30
    EXPECT_EQ(EndDate(), "12/31/2027");

    // Killed at varying moments once its saves are under way, a copy leaves the
    // old file or a new one, never a broken one.
    store.WriteText("Settings", "EndDate", "seed");
    for (int round = 0; round < 20; ++round) {
        QProcess writer;
        writer.start(SETTINGS_WRITER, {m_dir.path(), "round", "100000"});
        while (!writer.readAllStandardOutput().contains("saved"))
            ASSERT_TRUE(writer.waitForReadyRead(10000)) << round;
        QProcess::execute("sleep", {QString::number(0.002 * round)});
        ::kill(static_cast<pid_t>(writer.processId()), SIGKILL);
        writer.waitForFinished();
        ASSERT_TRUE(Parses()) << round;
        EXPECT_TRUE(EndDate() == "seed" || EndDate().rfind("round ", 0) == 0) << EndDate();
    }
}

} // namespace
