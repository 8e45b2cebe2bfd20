// The icons and the resource data the windows are built from.
#include "resources/Icons.h"
#include "resources/ResourceIds.h"
#include "resources/Templates.h"
#include "tests/support/Files.h"

#include <QtGui>

#include <gtest/gtest.h>

namespace vostrel::res {
namespace {

using test::Contents;

// An icon file as built into the program, and its drawing of the given size.
QString Stored(int id)
{
    return QStringLiteral(":/icons/%1.ico").arg(id);
}
QImage Drawing(int id, int size)
{
    QImageReader reader(Stored(id));
    for (int i = 0; i < reader.imageCount() && reader.jumpToImage(i); ++i) {
        const QImage image = reader.read();
        if (image.width() == size)
            return image.convertToFormat(QImage::Format_ARGB32);
    }
    return {};
}

QImage Argb(const QPixmap& pixmap)
{
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

// Each icon holds a 32-pixel drawing, all but the faces a 16-pixel one too. At other sizes, in pixels, at
// twice the density or painted, an icon is the largest drawing that fits, scaled nearest-neighbour: crisp
// square blocks at whole multiples. Missing icons are null.
TEST(Icons, EachHoldsItsSizesAndLargerOnesKeepThePixelsCrisp)
{
    for (int id : {128, 130, 131, 132, 133, 134, 136}) {
        const QIcon icon = LoadIcon(id);
        const QImage small = Drawing(id, 16);
        const QImage large = Drawing(id, 32);
        ASSERT_FALSE(large.isNull()) << id;
        ASSERT_EQ(small.isNull(), id == IDI_FROWN || id == IDI_SMILE) << id;
        EXPECT_EQ(QImageReader(Stored(id)).imageCount(), small.isNull() ? 1 : 2) << id;
        for (int size : {32, 64, 96})
            EXPECT_EQ(Argb(icon.pixmap(size)), large.scaled(size, size)) << id << " at " << size;
        for (int size : {16, 22, 24})
            EXPECT_EQ(Argb(icon.pixmap(size)), (small.isNull() ? large : small).scaled(size, size)) << id;
        EXPECT_EQ(Argb(icon.pixmap(QSize(32, 32), 2.0)), Argb(icon.pixmap(64))) << id;
        EXPECT_EQ(icon.availableSizes().value(0), QSize(16, 16)) << id;
        QImage painted(48, 48, QImage::Format_ARGB32);
        painted.fill(Qt::transparent);
        QPainter painter(&painted);
        icon.paint(&painter, painted.rect());
        painter.end();
        EXPECT_EQ(painted, large.scaled(48, 48)) << id;
    }
    EXPECT_EQ(Contents(Stored(136)), Contents(Stored(128)));
    for (int missing : {129, 135, 137, 0, -1}) {
        EXPECT_EQ(LoadIconHandle(missing), 0u) << missing;
        EXPECT_TRUE(LoadIcon(missing).isNull()) << missing;
    }
    EXPECT_EQ(LoadIconHandle(IDI_SMILE), static_cast<IconHandle>(IDI_SMILE));
    EXPECT_TRUE(IconFromHandle(0).isNull());
}

// The version block, desktop files, changelog and copyright agree with the
// program, the copyright with the license word for word.
TEST(ReleaseFiles, CarryTheProgramsNameCommentVersionAndLicense)
{
    const QString root = QStringLiteral(VOSTREL_SOURCE_DIR "/");
    const auto has = [&root](const char* file, const std::string& text) {
        return Contents(root + file).contains(text.c_str());
    };
    for (const VersionString& entry : GetVersionBlock().strings)
        EXPECT_TRUE(has("resources/Vostrel.rc",
                        "VALUE \"" + std::string(entry.key) + "\", \"" + std::string(entry.value) + "\\0\""))
            << entry.key;
    EXPECT_EQ(VersionValue("FileVersion"), "5, 0, 0, 0");
    const std::string name(VersionValue("ProductName"));
    const std::string comment(VersionValue("Comments"));
    ASSERT_TRUE(comment.ends_with('.')); // which an AppStream summary goes without
    const std::pair<const char*, std::string> lines[] = {
        {"resources/io.pelmark.Vostrel.desktop", "Name=" + name + "\nComment=" + comment + "\n"},
        {"resources/io.pelmark.Vostrel.desktop", "X-Vostrel-Version=5.0\n"},
        {"resources/io.pelmark.vostrel.metainfo.xml", "<name>" + name + "</name>"},
        {"resources/io.pelmark.vostrel.metainfo.xml",
         "<summary>" + comment.substr(0, comment.size() - 1) + "</summary>"},
        {"resources/io.pelmark.vostrel.metainfo.xml", "<project_license>MIT</project_license>"},
        {"resources/io.pelmark.vostrel.metainfo.xml", "<binary>Vostrel</binary>"},
        {"resources/io.pelmark.vostrel.metainfo.xml", "<release version=\"5.0\""},
        {"CMakeLists.txt", "set(CPACK_PACKAGE_VERSION 5.0.0)"},
        {"packaging/copyright", "\nLicense: MIT\n"},
        {"packaging/copyright", "Copyright: 2026 Pelmark\n"},
        {"LICENSE", "Copyright (c) 2026 Pelmark\n"}};
    for (const auto& [file, text] : lines)
        EXPECT_TRUE(has(file, text)) << file << ": " << text;
    EXPECT_TRUE(Contents(root + "packaging/changelog").startsWith("vostrel (5.0.0) "));
    // From the permission notice on, the license whole, each line indented, empty ones as " .".
    QByteArray license = Contents(root + "LICENSE");
    license = license.mid(license.indexOf("Copyright (c) 2026 Pelmark\n\n") + 28).trimmed();
    ASSERT_GT(license.size(), 500);
    EXPECT_TRUE(Contents(root + "packaging/copyright")
                    .endsWith("\n " + license.replace("\n\n", "\n.\n").replace("\n", "\n ") + "\n"));
}

} // namespace
} // namespace vostrel::res
