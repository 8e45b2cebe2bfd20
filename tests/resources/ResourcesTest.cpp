// The icon files and the resource data the windows are built from.
#include "Icons.h"
#include "ResourceIds.h"
#include "Templates.h"

#include <QFile>
#include <QGuiApplication>
#include <QImageReader>

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <vector>

namespace vostrel::res {
namespace {

const std::string kSourceDir = VOSTREL_SOURCE_DIR;

std::vector<std::uint8_t> ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::uint32_t Le(const std::vector<std::uint8_t>& b, std::size_t at, int bytes)
{
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | b.at(at + static_cast<std::size_t>(i));
    return value;
}

struct IconFile {
    int id;
    std::vector<int> sizes;
};

class IconFiles : public testing::TestWithParam<IconFile> {};

TEST_P(IconFiles, AreSixteenColourIconsWithAMask)
{
    static const std::uint8_t kPalette[16][3] = {
        {0, 0, 0},     {128, 0, 0},     {0, 128, 0},     {128, 128, 0},  {0, 0, 128}, {128, 0, 128},
        {0, 128, 128}, {128, 128, 128}, {192, 192, 192}, {255, 0, 0},    {0, 255, 0}, {255, 255, 0},
        {0, 0, 255},   {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
    const auto bytes = ReadFile(kSourceDir + "/resources/icons/" + std::to_string(GetParam().id) + ".ico");
    ASSERT_GT(bytes.size(), 6u);
    EXPECT_EQ(Le(bytes, 0, 2), 0u);
    EXPECT_EQ(Le(bytes, 2, 2), 1u); // an icon, not a cursor
    ASSERT_EQ(Le(bytes, 4, 2), GetParam().sizes.size());
    for (std::size_t i = 0; i < GetParam().sizes.size(); ++i) {
        const std::size_t entry = 6 + 16 * i;
        const int n = GetParam().sizes[i];
        EXPECT_EQ(bytes[entry], n);
        EXPECT_EQ(bytes[entry + 1], n);
        EXPECT_EQ(bytes[entry + 2], 16);        // colours
        EXPECT_EQ(Le(bytes, entry + 6, 2), 4u); // bits per pixel
        const std::size_t image = Le(bytes, entry + 12, 4);
        ASSERT_EQ(Le(bytes, entry + 8, 4), 40u + 64 + n * n / 2 + n * ((n + 31) / 32 * 4));
        EXPECT_EQ(Le(bytes, image + 4, 4), static_cast<std::uint32_t>(n));
        EXPECT_EQ(Le(bytes, image + 8, 4), static_cast<std::uint32_t>(2 * n)); // colours and mask
        EXPECT_EQ(Le(bytes, image + 14, 2), 4u);
        for (int c = 0; c < 16; ++c) {
            const std::size_t quad = image + 40 + 4 * static_cast<std::size_t>(c);
            EXPECT_EQ(bytes[quad + 2], kPalette[c][0]);
            EXPECT_EQ(bytes[quad + 1], kPalette[c][1]);
            EXPECT_EQ(bytes[quad], kPalette[c][2]);
        }
        // Transparent pixels are black in the colour bitmap: none inverts the screen.
        const std::size_t colours = image + 40 + 64;
        const std::size_t mask = colours + static_cast<std::size_t>(n * n / 2);
        const std::size_t maskRow = static_cast<std::size_t>((n + 31) / 32 * 4);
        int opaque = 0;
        for (int y = 0; y < n; ++y) {
            for (int x = 0; x < n; ++x) {
                const bool transparent = bytes[mask + y * maskRow + x / 8] & (0x80 >> (x % 8));
                const int colour =
                    (bytes[colours + static_cast<std::size_t>(y * n / 2 + x / 2)] >> (x % 2 ? 0 : 4)) & 0xF;
                if (transparent) {
                    EXPECT_EQ(colour, 0);
                }
                opaque += !transparent;
            }
        }
        EXPECT_GT(opaque, n * n / 4) << "a picture, not an empty square";
    }
    // And the program reads it back: the first image is the 32x32 one.
    QImageReader reader(
        QString::fromStdString(kSourceDir + "/resources/icons/" + std::to_string(GetParam().id) + ".ico"));
    ASSERT_EQ(reader.imageCount(), static_cast<int>(GetParam().sizes.size()));
    EXPECT_EQ(reader.read().size(), QSize(32, 32));
    EXPECT_FALSE(LoadIcon(GetParam().id).isNull());
}

INSTANTIATE_TEST_SUITE_P(Icons, IconFiles,
                         testing::Values(IconFile{128, {32, 16}}, IconFile{130, {32, 16}},
                                         IconFile{131, {32, 16}}, IconFile{132, {32}}, IconFile{133, {32}},
                                         IconFile{134, {32, 16}}, IconFile{136, {32, 16}}));

TEST(Icons, TheSecondStopwatchIsTheFirstAndThereAreNoOthers)
{
    EXPECT_EQ(ReadFile(kSourceDir + "/resources/icons/136.ico"),
              ReadFile(kSourceDir + "/resources/icons/128.ico"));
    for (int missing : {129, 135, 137, 0, -1})
        EXPECT_EQ(LoadIconHandle(missing), 0u) << missing;
    EXPECT_EQ(LoadIconHandle(IDI_SMILE), static_cast<IconHandle>(IDI_SMILE));
    EXPECT_TRUE(IconFromHandle(0).isNull());
}

TEST(Templates, LookUpsByNumberFindOnlyWhatExists)
{
    // Every control id of the countdown window is unique; 1005 and 1008 are unused.
    const DialogTemplate* countdown = FindDialogTemplate(IDD_COUNTDOWN);
    ASSERT_NE(countdown, nullptr);
    std::set<int> ids;
    for (const ControlTemplate& control : countdown->controls) {
        if (control.id != IDC_STATIC) {
            EXPECT_TRUE(ids.insert(control.id).second) << control.id;
        }
    }
    EXPECT_EQ(ids.size(), 15u);
    EXPECT_EQ(ids.count(1005) + ids.count(1008), 0u);
    EXPECT_NE(FindDialogTemplate(IDD_ABOUTBOX), nullptr);
    EXPECT_EQ(FindDialogTemplate(101), nullptr);
    EXPECT_EQ(FindMenu(138), nullptr);
    EXPECT_EQ(LoadString(102), "");
}

TEST(VersionBlock, DesktopFilesCarryTheSameNameCommentAndVersion)
{
    const auto text = [](const std::string& path) {
        const auto bytes = ReadFile(kSourceDir + "/resources/" + path);
        return std::string(bytes.begin(), bytes.end());
    };
    const std::string rc = text("Vostrel.rc");
    for (const VersionString& entry : GetVersionBlock().strings)
        EXPECT_NE(
            rc.find("VALUE \"" + std::string(entry.key) + "\", \"" + std::string(entry.value) + "\\0\""),
            std::string::npos)
            << entry.key;
    EXPECT_NE(rc.find("FILEVERSION 1,0,0,1"), std::string::npos);

    const std::string desktop = text("io.pelmark.Vostrel.desktop");
    EXPECT_NE(desktop.find("Name=" + std::string(VersionValue("ProductName")) + "\n"), std::string::npos);
    EXPECT_NE(desktop.find("Comment=" + std::string(VersionValue("Comments")) + "\n"), std::string::npos);
    EXPECT_NE(desktop.find("X-Vostrel-Version=5.0\n"), std::string::npos);
    const std::string metainfo = text("io.pelmark.Vostrel.metainfo.xml");
    EXPECT_NE(metainfo.find("<name>" + std::string(VersionValue("ProductName")) + "</name>"),
              std::string::npos);
    EXPECT_NE(metainfo.find("<summary>" + std::string(VersionValue("Comments")) + "</summary>"),
              std::string::npos);
    EXPECT_NE(metainfo.find("<release version=\"5.0\""), std::string::npos);
    EXPECT_EQ(VersionValue("FileVersion"), "5, 0, 0, 0");
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
