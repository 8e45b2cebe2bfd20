// Start at login as an XDG autostart entry, in a folder of the test's own.
#include "XdgAutostart.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vostrel {
namespace {

QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

class Autostart : public testing::Test {
protected:
    QString Folder() const { return m_dir.filePath("config/autostart"); }

    QTemporaryDir m_dir;
};

TEST_F(Autostart, TheEntryStartsThisExecutableByItsAbsolutePath)
{
    XdgAutostart start(Folder(), "/opt/vostrel/bin/Vostrel");
    EXPECT_EQ(start.EntryPath(), Folder() + "/Vostrel.desktop");
    ASSERT_TRUE(start.SetOn(true)); // the folder is made as needed
    EXPECT_EQ(Contents(start.EntryPath()), "[Desktop Entry]\n"
                                           "Type=Application\n"
                                           "Name=Vostrel\n"
                                           "Comment=Starts Vostrel in the notification area at login\n"
                                           "Exec=/opt/vostrel/bin/Vostrel\n"
                                           "Icon=io.pelmark.Vostrel\n"
                                           "Terminal=false\n");
}

TEST_F(Autostart, ARelativePathIsMadeAbsolute)
{
    XdgAutostart start(Folder(), "Vostrel");
    EXPECT_TRUE(Contents((start.SetOn(true), start.EntryPath()))
                    .contains("\nExec=" + QDir::current().absoluteFilePath("Vostrel").toUtf8() + "\n"));
}

// Quoted as the desktop entry specification asks: in double quotes where a
// reserved character appears, with " ` $ and \ escaped inside them, then
// every backslash doubled as in any string value, and % doubled.
TEST_F(Autostart, PathsWithReservedCharactersAreQuoted)
{
    XdgAutostart spaced(Folder(), "/home/ann/my tools/Vostrel");
    ASSERT_TRUE(spaced.SetOn(true));
    EXPECT_TRUE(Contents(spaced.EntryPath()).contains("\nExec=\"/home/ann/my tools/Vostrel\"\n"));
    XdgAutostart odd(Folder(), R"(/tmp/a$b%c\d"e/Timer)");
    ASSERT_TRUE(odd.SetOn(true));
    const QByteArray exec = R"(Exec="/tmp/a\\$b%%c\\\\d\\"e/Timer")";
    EXPECT_TRUE(Contents(odd.EntryPath()).contains("\n" + exec + "\n"))
        << Contents(odd.EntryPath()).toStdString();
}

TEST_F(Autostart, OnWritesTheEntryAndOffRemovesIt)
{
    XdgAutostart start(Folder(), "/usr/bin/Vostrel");
    EXPECT_FALSE(start.IsOn());
    EXPECT_TRUE(start.SetOn(false)); // nothing to remove
    ASSERT_TRUE(start.SetOn(true));
    EXPECT_TRUE(start.IsOn());
    EXPECT_TRUE(start.SetOn(true)); // again: the same single entry
    EXPECT_EQ(QDir(Folder()).entryList(QDir::Files), QStringList({"Vostrel.desktop"}));
    ASSERT_TRUE(start.SetOn(false));
    EXPECT_FALSE(start.IsOn());
    EXPECT_TRUE(QDir(Folder()).entryList(QDir::Files).isEmpty());
}

// The state is the file's, whoever wrote or removed it; an entry marked
// Hidden is one the user deleted.
TEST_F(Autostart, TheStateFollowsTheFile)
{
    XdgAutostart start(Folder(), "/usr/bin/Vostrel");
    ASSERT_TRUE(QDir().mkpath(Folder()));
    Write(start.EntryPath(), "[Desktop Entry]\nType=Application\nExec=Vostrel\n");
    EXPECT_TRUE(start.IsOn());
    Write(start.EntryPath(), "[Desktop Entry]\nType=Application\nExec=Vostrel\nHidden = true\n");
    EXPECT_FALSE(start.IsOn());
    Write(start.EntryPath(), "[Desktop Entry]\nExec=Vostrel\n[Desktop Action Other]\nHidden=true\n");
    EXPECT_TRUE(start.IsOn()); // another group's key is not the entry's
    Write(start.EntryPath(), "[Desktop Entry]\nExec=Vostrel\nHidden=true\n");
    ASSERT_TRUE(start.SetOn(true)); // turned on again: our entry, not hidden
    EXPECT_TRUE(start.IsOn());
    EXPECT_FALSE(Contents(start.EntryPath()).contains("Hidden"));
    ASSERT_TRUE(QFile::remove(start.EntryPath()));
    EXPECT_FALSE(start.IsOn());
}

// A renamed copy keeps its own entry and starts itself.
TEST_F(Autostart, CopiesUnderOtherNamesDoNotClash)
{
    XdgAutostart original(Folder(), "/usr/bin/Vostrel");
    XdgAutostart copy(Folder(), "/home/ann/bin/Timer");
    ASSERT_TRUE(copy.SetOn(true));
    EXPECT_TRUE(copy.IsOn());
    EXPECT_FALSE(original.IsOn());
    EXPECT_EQ(copy.EntryPath(), Folder() + "/Timer.desktop");
    EXPECT_TRUE(Contents(copy.EntryPath()).contains("\nName=Timer\n"));
    EXPECT_TRUE(Contents(copy.EntryPath()).contains("\nExec=/home/ann/bin/Timer\n"));
    ASSERT_TRUE(original.SetOn(true));
    ASSERT_TRUE(original.SetOn(false));
    EXPECT_TRUE(copy.IsOn());
}

TEST_F(Autostart, AFolderThatCannotBeMadeIsAFailure)
{
    Write(m_dir.filePath("config"), "a file where the folder should be");
    XdgAutostart start(Folder(), "/usr/bin/Vostrel");
    EXPECT_FALSE(start.SetOn(true));
    EXPECT_FALSE(start.IsOn());
}

TEST_F(Autostart, TheUsersFolderFollowsXdgConfigHome)
{
    const QByteArray home = qgetenv("HOME");
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", m_dir.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", m_dir.filePath("elsewhere").toUtf8());
    EXPECT_EQ(XdgAutostart::UserFolder(), m_dir.filePath("elsewhere/autostart"));
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(XdgAutostart::UserFolder(), m_dir.filePath(".config/autostart"));
    qputenv("HOME", home);
    if (!config.isNull())
        qputenv("XDG_CONFIG_HOME", config);
}

} // namespace
} // namespace vostrel
