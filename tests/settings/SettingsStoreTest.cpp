#include "SettingsFileStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

namespace vostrel {
namespace {

// Each test gets its own configuration folder, never the user's own.
class SettingsFile : public testing::Test {
protected:
    SettingsFile() { QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path()); }

    QString FilePath() const { return m_dir.path() + "/Pelmark/Vostrel.conf"; }
    void WriteFile(const QByteArray& bytes)
    {
        QDir().mkpath(m_dir.path() + "/Pelmark");
        QFile file(FilePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray FileBytes() const
    {
        QFile file(FilePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Whether the file reads as a well-formed settings file.
    bool Parses() const
    {
        QSettings settings(FilePath(), QSettings::IniFormat);
        settings.allKeys();
        return settings.status() == QSettings::NoError;
    }
    int RunWriter(const QString& tag, int count)
    {
        return QProcess::execute(SETTINGS_WRITER, {m_dir.path(), tag, QString::number(count)});
    }

    QTemporaryDir m_dir;
    SettingsFileStore store{QStringLiteral("Pelmark"), QStringLiteral("Vostrel")};
};

TEST_F(SettingsFile, IntegersAndTextsRoundTripInTheirOwnKinds)
{
    EXPECT_EQ(store.ReadText("Settings", "EndDate", "01/01/2001"), "01/01/2001");
    EXPECT_EQ(store.ReadInt("Settings", "WhichIcon", 5), 5);
    store.WriteText("Settings", "EndDate", "Dec 31, 2027 5 PM");
    store.WriteText("Settings", "VacationDays", "12");
    store.WriteInt("Settings", "DisplayPeriod", 4);
    store.WriteInt("Settings", "x", -2147483647 - 1);
    EXPECT_EQ(store.ReadText("Settings", "EndDate", ""), "Dec 31, 2027 5 PM");
    EXPECT_EQ(store.ReadText("Settings", "VacationDays", ""), "12");
    EXPECT_EQ(store.ReadInt("Settings", "DisplayPeriod", 0), 4);
    EXPECT_EQ(store.ReadInt("Settings", "x", 0), -2147483647 - 1);
    const QByteArray file = FileBytes();
    EXPECT_TRUE(file.startsWith("[Settings]\n")) << file.toStdString();
    EXPECT_TRUE(file.contains("DisplayPeriod=4\n"));
    EXPECT_TRUE(file.contains("VacationDays=12\n"));
}

TEST_F(SettingsFile, IntegersThatAreNotWhole32BitNumbersReadAsTheDefault)
{
    WriteFile("[Settings]\nDisplayPeriod=abc\nWhichIcon=1.5\nx=99999999999\ny=\n"
              "EndDate=Dec 31, 2027\nVacationDays=007\n");
    EXPECT_EQ(store.ReadInt("Settings", "DisplayPeriod", 0), 0);
    EXPECT_EQ(store.ReadInt("Settings", "WhichIcon", 5), 5);
    EXPECT_EQ(store.ReadInt("Settings", "x", -1), -1);
    EXPECT_EQ(store.ReadInt("Settings", "y", -1), -1);
    EXPECT_EQ(store.ReadText("Settings", "EndDate", ""), "Dec 31, 2027");
    EXPECT_EQ(store.ReadText("Settings", "VacationDays", ""), "007");
    EXPECT_EQ(store.ReadInt("Settings", "VacationDays", 0), 7);
}

TEST_F(SettingsFile, CorruptFilesReadAsDefaultsAndStayUsable)
{
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.append(static_cast<char>((i * 7919) % 256));
    WriteFile(garbage);
    EXPECT_EQ(store.ReadText("Settings", "EndDate", "01/01/2001"), "01/01/2001");
    EXPECT_EQ(store.ReadInt("Settings", "DisplayPeriod", 0), 0);
    store.WriteText("Settings", "EndDate", "12/31/2027");
    EXPECT_TRUE(FileBytes() == garbage || Parses());
}

TEST_F(SettingsFile, UnwritableLocationIsIgnored)
{
    // The folder the file should go into is a plain file: nothing can be
    // written there, whoever runs the test.
    QFile blocker(m_dir.path() + "/Pelmark");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    store.WriteText("Settings", "EndDate", "12/31/2027");
    store.WriteInt("Settings", "DisplayPeriod", 2);
    EXPECT_EQ(store.ReadText("Settings", "EndDate", "01/01/2001"), "01/01/2001");
    EXPECT_EQ(store.ReadInt("Settings", "DisplayPeriod", 0), 0);
}

TEST_F(SettingsFile, AFullDiskKeepsTheOldFile)
{
    // A small file system of its own, filled up after the first save.
    const QString disk = m_dir.path() + "/disk";
    QDir().mkpath(disk);
    if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", disk}) != 0)
        GTEST_SKIP() << "cannot mount a small file system here";
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, disk);
    store.WriteText("Settings", "EndDate", "12/31/2027");
    const QString file = disk + "/Pelmark/Vostrel.conf";
    QFile kept(file);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    const QByteArray before = kept.readAll();
    kept.close();
    QFile filler(disk + "/filler");
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    while (filler.write(QByteArray(4096, 'x')) > 0 && filler.flush()) {
    }
    filler.close();

    store.WriteText("Settings", "EndDate", std::string(20000, '1'));
    store.WriteInt("Settings", "DisplayPeriod", 3);
    // The running program keeps what it saved in memory; the file on the
    // full disk is the old one, whole.
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), before);
    kept.close();
    EXPECT_TRUE(before.contains("EndDate=12/31/2027\n"));
    QProcess::execute("umount", {"-l", disk});
}

TEST_F(SettingsFile, TwoCopiesSavingAtOnceLeaveAWholeFile)
{
    QProcess first;
    QProcess second;
    first.start(SETTINGS_WRITER, {m_dir.path(), "first", "150"});
    second.start(SETTINGS_WRITER, {m_dir.path(), "second", "150"});
    ASSERT_TRUE(first.waitForFinished(60000));
    ASSERT_TRUE(second.waitForFinished(60000));
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_EQ(second.exitCode(), 0);
    ASSERT_TRUE(Parses());
    const std::string last = store.ReadText("Settings", "EndDate", "");
    EXPECT_TRUE(last == "first 149" || last == "second 149") << last;
    EXPECT_EQ(store.ReadInt("Settings", "DisplayPeriod", -1), 149 % 5);
}

TEST_F(SettingsFile, AKilledSaveLeavesTheOldFileOrTheNew)
{
    ASSERT_EQ(RunWriter("seed", 1), 0);
    for (int round = 0; round < 100; ++round) {
        QProcess writer;
        writer.start(SETTINGS_WRITER, {m_dir.path(), "round", "100000"});
        ASSERT_TRUE(writer.waitForStarted());
        QProcess::execute("sleep", {QString::number(0.005 + 0.001 * (round % 40))});
        ::kill(static_cast<pid_t>(writer.processId()), SIGKILL);
        writer.waitForFinished();
        ASSERT_TRUE(Parses()) << round;
        const std::string endDate = store.ReadText("Settings", "EndDate", "");
        EXPECT_TRUE(endDate == "seed 0" || endDate.rfind("round ", 0) == 0) << endDate;
    }
}

} // namespace
} // namespace vostrel

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
