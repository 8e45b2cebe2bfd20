// The icons and the resource data the windows are built from.
#include "Icons.h"
#include "ResourceIds.h"
#include "Templates.h"

#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>

#include <gtest/gtest.h>

#include <set>

namespace vostrel::res {
namespace {

QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Each icon holds a 32x32 picture, all but the faces a 16x16 one too, read
// from the copy built into the program.
TEST(Icons, EachHoldsItsSizesAndMissingOnesAreNull)
{
    for (int id : {128, 130, 131, 132, 133, 134, 136}) {
        ASSERT_FALSE(LoadIcon(id).isNull()) << id;
        QImageReader reader(QStringLiteral(":/icons/%1.ico").arg(id));
        ASSERT_EQ(reader.imageCount(), id == IDI_FROWN || id == IDI_SMILE ? 1 : 2) << id;
        for (int i = 0, n = 32; i < reader.imageCount(); ++i, n /= 2) {
            ASSERT_TRUE(reader.jumpToImage(i));
            EXPECT_EQ(reader.read().size(), QSize(n, n)) << id;
        }
    }
    EXPECT_EQ(Contents(":/icons/136.ico"), Contents(":/icons/128.ico"));
    for (int missing : {129, 135, 137, 0, -1}) {
        EXPECT_EQ(LoadIconHandle(missing), 0u) << missing;
        EXPECT_TRUE(LoadIcon(missing).isNull()) << missing;
    }
    EXPECT_EQ(LoadIconHandle(IDI_SMILE), static_cast<IconHandle>(IDI_SMILE));
    EXPECT_TRUE(IconFromHandle(0).isNull());
}

// The drawing of the given size in an icon file, as it is stored.
QImage Drawing(int id, int size)
{
    QImageReader reader(QStringLiteral(":/icons/%1.ico").arg(id));
    for (int i = 0; i < reader.imageCount() && reader.jumpToImage(i); ++i) {
        const QImage image = reader.read();
        if (image.width() == size)
            return image.convertToFormat(QImage::Format_ARGB32);
    }
    return {};
}

std::set<QRgb> Colours(const QImage& image)
{
    std::set<QRgb> colours;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x)
            colours.insert(argb.pixel(x, y));
    }
    return colours;
}

// Bigger than its drawings, an icon is the 32-pixel drawing with each pixel
// made a square block; between the drawn sizes, the 16-pixel drawing's
// pixels repeated unevenly. Never a colour the drawing does not have.
TEST(Icons, LargerSizesKeepThePixelsCrisp)
{
    for (int id : {IDI_STOPWATCH, IDI_FIRECRACKER, IDI_CLOCK}) {
        const QImage small = Drawing(id, 16);
        const QImage large = Drawing(id, 32);
        ASSERT_FALSE(small.isNull() || large.isNull()) << id;
        const QIcon icon = LoadIcon(id);
        EXPECT_EQ(icon.pixmap(16).toImage().convertToFormat(QImage::Format_ARGB32), small) << id;
        EXPECT_EQ(icon.pixmap(32).toImage().convertToFormat(QImage::Format_ARGB32), large) << id;
        for (int size : {64, 96}) {
            const QImage scaled = icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
            ASSERT_EQ(scaled.size(), QSize(size, size)) << id;
            const int block = size / 32;
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x)
                    ASSERT_EQ(scaled.pixel(x, y), large.pixel(x / block, y / block))
                        << id << " " << x << "," << y;
            }
        }
        for (int size : {22, 24}) {
            const QImage between = icon.pixmap(size).toImage();
            ASSERT_EQ(between.size(), QSize(size, size)) << id;
            const std::set<QRgb> drawn = Colours(small);
            for (QRgb colour : Colours(between))
                EXPECT_TRUE(drawn.count(colour)) << id << " at " << size << ": " << std::hex << colour;
        }
    }
}

// A panel on a screen of twice the density asks for twice the pixels; a
// window manager handed a list of sizes gets the big ones too.
TEST(Icons, DenseScreensAndLargePanelsGetCrispPictures)
{
    const QIcon icon = LoadIcon(IDI_STOPWATCH);
    const QImage dense = icon.pixmap(QSize(32, 32), 2.0).toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(dense.size(), QSize(64, 64));
    EXPECT_EQ(dense, Drawing(IDI_STOPWATCH, 32).scaled(64, 64));
    EXPECT_TRUE(icon.availableSizes().contains(QSize(64, 64)));
    EXPECT_TRUE(icon.availableSizes().contains(QSize(16, 16)));
    QImage painted(48, 48, QImage::Format_ARGB32);
    painted.fill(Qt::transparent);
    {
        QPainter painter(&painted);
        icon.paint(&painter, painted.rect());
    }
    EXPECT_EQ(painted, Drawing(IDI_STOPWATCH, 32).scaled(48, 48));
}

TEST(Templates, LookUpsByNumberFindOnlyWhatExists)
{
    // Every control id of the countdown window is unique; 1005 and 1008 are unused.
    const DialogTemplate* countdown = FindDialogTemplate(IDD_COUNTDOWN);
    ASSERT_NE(countdown, nullptr);
    std::set<int> ids;
    for (const ControlTemplate& control : countdown->controls)
        EXPECT_TRUE(control.id == IDC_STATIC || ids.insert(control.id).second) << control.id;
    EXPECT_EQ(ids.size(), 15u);
    EXPECT_EQ(ids.count(1005) + ids.count(1008), 0u);
    EXPECT_NE(FindDialogTemplate(IDD_ABOUTBOX), nullptr);
    EXPECT_EQ(FindDialogTemplate(101), nullptr);
    EXPECT_EQ(FindMenu(138), nullptr);
    EXPECT_EQ(LoadString(102), "");
}

TEST(VersionBlock, DesktopFilesCarryTheSameNameCommentAndVersion)
{
    const auto has = [](const char* file, const std::string& text) {
        return Contents(QStringLiteral(VOSTREL_SOURCE_DIR "/resources/") + file).contains(text.c_str());
    };
    for (const VersionString& entry : GetVersionBlock().strings)
        EXPECT_TRUE(has("Vostrel.rc",
                        "VALUE \"" + std::string(entry.key) + "\", \"" + std::string(entry.value) + "\\0\""))
            << entry.key;
    EXPECT_EQ(VersionValue("FileVersion"), "5, 0, 0, 0");
    const std::string name(VersionValue("ProductName"));
    const std::string comment(VersionValue("Comments"));
    EXPECT_TRUE(has("io.pelmark.Vostrel.desktop", "Name=" + name + "\nComment=" + comment + "\n"));
    EXPECT_TRUE(has("io.pelmark.Vostrel.desktop", "X-Vostrel-Version=5.0\n"));
    EXPECT_TRUE(has("io.pelmark.vostrel.metainfo.xml", "<name>" + name + "</name>"));
    // An AppStream summary ends without a full stop.
    ASSERT_TRUE(comment.ends_with('.'));
    EXPECT_TRUE(has("io.pelmark.vostrel.metainfo.xml",
                    "<summary>" + comment.substr(0, comment.size() - 1) + "</summary>"));
    EXPECT_TRUE(has("io.pelmark.vostrel.metainfo.xml", "<project_license>MIT</project_license>"));
    EXPECT_TRUE(has("io.pelmark.vostrel.metainfo.xml", "<binary>Vostrel</binary>"));
    EXPECT_TRUE(has("io.pelmark.vostrel.metainfo.xml", "<release version=\"5.0\""));
}

// The package's changelog names the program's version, and its copyright
// file carries the license word for word.
TEST(Package, ChangelogAndCopyrightAgreeWithTheProgram)
{
    const QString root = QStringLiteral(VOSTREL_SOURCE_DIR "/");
    const QByteArray changelog = Contents(root + "packaging/changelog");
    // "5, 0, 0, 0" is version 5.0.0.
    const std::string_view fileVersion = VersionValue("FileVersion");
    const QByteArray version =
        QByteArray(fileVersion.data(), qsizetype(fileVersion.size())).replace(", ", ".").chopped(2);
    EXPECT_TRUE(changelog.startsWith("vostrel (" + version + ") ")) << changelog.left(40).toStdString();
    EXPECT_TRUE(Contents(root + "CMakeLists.txt").contains("set(CPACK_PACKAGE_VERSION " + version + ")"));
    const QByteArray copyright = Contents(root + "packaging/copyright");
    EXPECT_TRUE(copyright.contains("\nLicense: MIT\n"));
    const QList<QByteArray> license = Contents(root + "LICENSE").split('\n');
    ASSERT_GT(license.size(), 10);
    EXPECT_TRUE(copyright.contains("Copyright: 2026 Pelmark\n"));
    EXPECT_TRUE(license.contains("Copyright (c) 2026 Pelmark"));
    // From the permission notice on, each line indented, empty lines as " .".
    for (qsizetype i = license.indexOf("Copyright (c) 2026 Pelmark") + 2; i < license.size(); ++i) {
        if (i + 1 == license.size() && license[i].isEmpty())
            break; // the file's last line break
        const QByteArray line = license[i].isEmpty() ? QByteArray(".") : license[i];
        EXPECT_TRUE(copyright.contains("\n " + line + "\n")) << line.toStdString();
    }
}

} // namespace
} // namespace vostrel::res

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
