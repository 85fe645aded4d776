#include <gtest/gtest.h>

#include "platform/DebugOutput.h"
#include "resources/ImageLib.h"
#include "tests/resources/ImageTestFiles.h"

namespace Lumo::ImageLib {
namespace {

using namespace Testing;

const std::vector<uint32_t> kPixels = {0x80112233, 0xFF445566, 0x00778899, 0x12ABCDEF, 0xFFFFFFFF, 0x01000000};

TEST(ImageLibTga, TopLeftPixelsAfterIdFieldAndColourMap)
{
    TestFolder folder;
    for (const TgaSpec spec : {TgaSpec{0, 0, 2, 0, 3, 2}, TgaSpec{5, 1, 2, 4, 3, 2}})
    {
        WriteBytes(folder / "a.tga", MakeTga(spec, kPixels));
        auto image = ReadTga(folder / "a.tga");
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->GetWidth(), 3);
        EXPECT_EQ(image->GetHeight(), 2);
        EXPECT_EQ(std::vector<uint32_t>(image->GetBits(), image->GetBits() + 6), kPixels);
    }
}

TEST(ImageLibTga, RefusesWhatItCannotDecodeWithOneLogLine)
{
    TestFolder folder;
    TgaSpec rgb24{0, 0, 2, 0, 3, 2};
    rgb24.bitsPerPixel = 24;
    TgaSpec bottomLeft{0, 0, 2, 0, 3, 2};
    bottomLeft.descriptor = 0x08;
    const TgaSpec rle{0, 0, 10, 0, 3, 2};
    const TgaSpec colourMapped{0, 1, 1, 4, 3, 2};
    const TgaSpec noPixels{0, 0, 2, 0, 0, 2};
    Bytes shortPixels = MakeTga(TgaSpec{0, 0, 2, 0, 3, 2}, kPixels);
    shortPixels.pop_back();
    const Bytes shortHeader(17, 0);
    const std::vector<Bytes> files = {MakeTga(rgb24, kPixels), MakeTga(bottomLeft, kPixels), MakeTga(rle, kPixels),
                                      MakeTga(colourMapped, kPixels), MakeTga(noPixels, {}), shortPixels,
                                      shortHeader};
    for (size_t i = 0; i < files.size(); ++i)
    {
        WriteBytes(folder / "bad.tga", files[i]);
        Platform::ClearDebugOutput();
        EXPECT_EQ(ReadTga(folder / "bad.tga"), nullptr) << "file " << i;
        EXPECT_EQ(Platform::GetDebugOutputLines().size(), 1u) << "file " << i;
    }
}

TEST(ImageLibTga, HugeSizeInHeaderOfShortFileIsRefused)
{
    TestFolder folder;
    WriteBytes(folder / "huge.tga", MakeTga(TgaSpec{0, 0, 2, 0, 65535, 65535}, kPixels));
    EXPECT_EQ(ReadTga(folder / "huge.tga"), nullptr);
}

TEST(ImageLibTga, MissingFileGivesNullWithoutLogLine)
{
    TestFolder folder;
    Platform::ClearDebugOutput();
    EXPECT_EQ(ReadTga(folder / "none.tga"), nullptr);
    EXPECT_TRUE(Platform::GetDebugOutputLines().empty());
}

} // namespace
} // namespace Lumo::ImageLib
