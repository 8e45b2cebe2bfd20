// Start at login as an XDG autostart entry, in a folder of the test's own.
#include "settings/login/XdgAutostart.h"
#include "tests/support/Files.h"

#include <QtCore>

#include <gtest/gtest.h>

using namespace vostrel;

namespace {

using test::Contents;

class Autostart : public testing::Test {
protected:
    QString Folder() const { return m_dir.filePath("config/autostart"); }

    QTemporaryDir m_dir;
};

// The entry, in a folder made as needed, starts the executable by its absolute path: in double quotes where a
// reserved character appears, " ` $ and \ escaped inside them, then backslashes and % doubled.
TEST_F(Autostart, TheEntryStartsThisExecutableByItsAbsolutePath)
{
    XdgAutostart start(Folder(), "/opt/vostrel/bin/Vostrel");
    ASSERT_TRUE(start.SetOn(true));
    EXPECT_EQ(Contents(Folder() + "/Vostrel.desktop"),
              "[Desktop Entry]\n"
              "Type=Application\n"
              "Name=Vostrel\n"
              "Comment=Starts Vostrel in the notification area at login\n"
              "Exec=/opt/vostrel/bin/Vostrel\n"
              "Icon=io.pelmark.Vostrel\n"
              "Terminal=false\n");
    const std::pair<QString, QByteArray> cases[] = {
        {"Vostrel", "Exec=" + QDir::current().absoluteFilePath("Vostrel").toUtf8()},
        {"/home/ann/my tools/Vostrel", R"(Exec="/home/ann/my tools/Vostrel")"},
        {R"(/tmp/a$b%c\d"e/Timer)", R"(Exec="/tmp/a\\$b%%c\\\\d\\"e/Timer")"},
        {"/home/ann/bin/Timer", "Name=Timer\nComment=Starts Timer in the notification area at login\n"
                                "Exec=/home/ann/bin/Timer"}};
    for (const auto& [executable, lines] : cases) {
        XdgAutostart other(Folder(), executable);
        ASSERT_TRUE(other.SetOn(true));
        EXPECT_EQ(other.EntryPath(), Folder() + "/" + executable.section('/', -1) + ".desktop");
        EXPECT_TRUE(Contents(other.EntryPath()).contains("\n" + lines + "\n")) << lines.toStdString();
    }
}

// The state is the file's, whoever wrote it; an entry marked Hidden is one the user deleted. A renamed copy
// keeps an entry of its own. (The window's tests remove entries by hand and block the folder.)
TEST_F(Autostart, OnAndOffFollowTheFile)
{
    XdgAutostart start(Folder(), "/usr/bin/Vostrel");
    XdgAutostart copy(Folder(), "/home/ann/bin/Timer");
    EXPECT_TRUE(start.SetOn(false)); // nothing to remove
    ASSERT_TRUE(start.SetOn(true));
    EXPECT_FALSE(copy.IsOn());
    ASSERT_TRUE(start.SetOn(true) && copy.SetOn(true)); // again: the same single entry
    ASSERT_TRUE(start.SetOn(false));
    EXPECT_FALSE(start.IsOn());
    EXPECT_EQ(QDir(Folder()).entryList(QDir::Files), QStringList({"Timer.desktop"}));
    EXPECT_TRUE(copy.IsOn());

    const std::pair<QByteArray, bool> entries[] = {
        {"[Desktop Entry]\nType=Application\nExec=Vostrel\n", true},
        {"[Desktop Entry]\nType=Application\nExec=Vostrel\nHidden = true\n", false},
        {"[Desktop Entry]\nExec=Vostrel\n[Desktop Action Other]\nHidden=true\n", true}}; // another group's
    for (const auto& [text, on] : entries) {
        ASSERT_TRUE(test::Write(start.EntryPath(), text));
        EXPECT_EQ(start.IsOn(), on) << text.toStdString();
    }
    ASSERT_TRUE(start.SetOn(true)); // turned on again: our entry, not hidden
    EXPECT_TRUE(start.IsOn());
    EXPECT_FALSE(Contents(start.EntryPath()).contains("Hidden"));
}

} // namespace
