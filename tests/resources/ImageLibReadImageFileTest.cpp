#include <filesystem>

#include <gtest/gtest.h>

#include "app/pak/PakInterface.h"
#include "app/pak/PakWriter.h"
#include "platform/DebugOutput.h"
#include "resources/ImageLib.h"
#include "tests/resources/ImageTestFiles.h"

namespace Lumo::ImageLib {
namespace {

using namespace Testing;

// A 2 x 1 TGA of the two pixels.
Bytes Tga(uint32_t left, uint32_t right)
{
    return MakeTga(TgaSpec{0, 0, 2, 0, 2, 1}, {left, right});
}

std::vector<uint32_t> Pixels(const Image& image)
{
    return std::vector<uint32_t>(image.GetBits(), image.GetBits() + image.GetWidth() * image.GetHeight());
}

class ImageLibReadImageFile : public testing::Test
{
protected:
    void TearDown() override
    {
        gLoadAlphaCompanions = true;
        gAlphaOnlyColor = 0x00FFFFFF;
        SetSharedPakInterface(nullptr);
    }
    TestFolder folder;
};

TEST_F(ImageLibReadImageFile, ExtensionPicksTheReaderAndNoExtensionTriesThemInOrder)
{
    auto image = MakeImage(2, 1, [](int x, int) { return x ? 0xFF0000FFu : 0xFF00FF00u; });
    ASSERT_TRUE(WritePng(folder / "foo.png", *image));
    auto read = ReadImageFile(folder / "foo", true);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(Pixels(*read), Pixels(*image));
    EXPECT_NE(ReadImageFile(folder / "foo.PNG", true), nullptr); // reads foo.png
    EXPECT_EQ(ReadImageFile(folder / "foo.tga", true), nullptr);
    EXPECT_EQ(ReadImageFile(folder / "foo.jpeg", true), nullptr);
    // The TGA comes first when both exist.
    WriteBytes(folder / "foo.tga", Tga(0x01020304, 0x05060708));
    EXPECT_EQ(Pixels(*ReadImageFile(folder / "foo", true)), (std::vector<uint32_t>{0x01020304, 0x05060708}));
    // A '.' in a folder name is no extension.
    std::filesystem::create_directories(folder / "dir.v2");
    WriteBytes(folder / "dir.v2/bar.tga", Tga(1, 2));
    EXPECT_NE(ReadImageFile(folder / "dir.v2/bar", true), nullptr);
}

TEST_F(ImageLibReadImageFile, CompanionGivesAlphaOrStandsAlone)
{
    WriteBytes(folder / "foo.tga", Tga(0xFF112233, 0xFF445566));
    WriteBytes(folder / "_foo.tga", Tga(0x000000AB, 0x12345600));
    EXPECT_EQ(Pixels(*ReadImageFile(folder / "foo.tga", true)), (std::vector<uint32_t>{0xAB112233, 0x00445566}));
    EXPECT_EQ(Pixels(*ReadImageFile(folder / "foo", true)), (std::vector<uint32_t>{0xAB112233, 0x00445566}));
    // Off, or asked not to: no companion.
    EXPECT_EQ(Pixels(*ReadImageFile(folder / "foo.tga", false)), (std::vector<uint32_t>{0xFF112233, 0xFF445566}));
    gLoadAlphaCompanions = false;
    EXPECT_EQ(Pixels(*ReadImageFile(folder / "foo.tga", true)), (std::vector<uint32_t>{0xFF112233, 0xFF445566}));
    gLoadAlphaCompanions = true;
    // Only the companion: white (or the alpha-only colour) with its alpha.
    EXPECT_EQ(ReadImageFile(folder / "only.tga", true), nullptr);
    WriteBytes(folder / "_only.tga", Tga(0x80, 0x7F));
    EXPECT_EQ(Pixels(*ReadImageFile(folder / "only.tga", true)), (std::vector<uint32_t>{0x80FFFFFF, 0x7FFFFFFF}));
    gAlphaOnlyColor = 0x00102030;
    EXPECT_EQ(Pixels(*ReadImageFile(folder / "only", true)), (std::vector<uint32_t>{0x80102030, 0x7F102030}));
}

TEST_F(ImageLibReadImageFile, SecondCompanionFormAndSizeMismatch)
{
    WriteBytes(folder / "foo.tga", Tga(0xFF112233, 0xFF445566));
    WriteBytes(folder / "foo_.tga", Tga(0x10, 0x20));
    EXPECT_EQ(Pixels(*ReadImageFile(folder / "foo", true)), (std::vector<uint32_t>{0x10112233, 0x20445566}));
    // "foo.tga_" has no reader's extension, so the second form never matches.
    EXPECT_EQ(Pixels(*ReadImageFile(folder / "foo.tga", true)), (std::vector<uint32_t>{0xFF112233, 0xFF445566}));
    WriteBytes(folder / "_foo.tga", MakeTga(TgaSpec{0, 0, 2, 0, 1, 1}, {0x33}));
    EXPECT_EQ(Pixels(*ReadImageFile(folder / "foo", true)), (std::vector<uint32_t>{0xFF112233, 0xFF445566}));
}

TEST_F(ImageLibReadImageFile, ImagesComeFromThePackFile)
{
    std::vector<uint8_t> pak;
    std::string error;
    auto image = MakeImage(3, 2, [](int x, int y) { return 0x80000000u | uint32_t(x * 40 + y); });
    ASSERT_TRUE(WritePng(folder / "src.png", *image));
    const Bytes gif = GifBuilder(Bytes{1, 2, 3, 4, 5, 6}).Image(2, 1, false, 2, EncodeGifLzw({1, 0}, 2)).Trailer().bytes;
    ASSERT_TRUE(MakePakImage({{"images/tiles.png", ReadBytes(folder / "src.png")},
                              {"images/_tiles.tga", MakeTga(TgaSpec{0, 0, 2, 0, 3, 2}, {1, 2, 3, 4, 5, 6})},
                              {"images/anim.gif", gif}},
                             pak, error))
        << error;
    WriteBytes(folder / "main.pak", pak);
    PakInterface pakInterface;
    ASSERT_TRUE(pakInterface.AddPakFile(folder / "main.pak"));
    SetSharedPakInterface(&pakInterface);
    auto tiles = ReadImageFile("images\\Tiles", true);
    ASSERT_NE(tiles, nullptr);
    EXPECT_EQ(Pixels(*tiles), (std::vector<uint32_t>{0x01000000, 0x02000028, 0x03000050, 0x04000001, 0x05000029,
                                                     0x06000051}));
    auto anim = ReadImageFile("images/anim", true);
    ASSERT_NE(anim, nullptr);
    EXPECT_EQ(Pixels(*anim), (std::vector<uint32_t>{0xFF040506, 0xFF010203}));
}

} // namespace
} // namespace Lumo::ImageLib
