#include <filesystem>

#include <gtest/gtest.h>

#include "platform/DebugOutput.h"
#include "resources/ImageLib.h"
#include "tests/resources/ImageTestFiles.h"

namespace Lumo::ImageLib {
namespace {

using namespace Testing;

std::vector<uint32_t> Pixels(const Image& image)
{
    return std::vector<uint32_t>(image.GetBits(), image.GetBits() + image.GetWidth() * image.GetHeight());
}

TEST(ImageLibWrite, PngRoundTripKeepsEveryPixelWithAlpha)
{
    TestFolder folder;
    auto image = MakeImage(37, 23, [](int x, int y) { return uint32_t(x) * 0x01030507u + uint32_t(y) * 0x0B0D1113u; });
    ASSERT_TRUE(WritePng(folder / "out.png", *image));
    auto read = ReadPng(folder / "out.png");
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->GetWidth(), 37);
    EXPECT_EQ(Pixels(*read), Pixels(*image));
    // Writing again replaces the file.
    auto other = MakeImage(1, 1, [](int, int) { return 0x12345678u; });
    ASSERT_TRUE(WritePng(folder / "out.png", *other));
    EXPECT_EQ(Pixels(*ReadPng(folder / "out.png")), std::vector<uint32_t>{0x12345678u});
}

TEST(ImageLibWrite, JpegRoundTripDropsAlpha)
{
    TestFolder folder;
    // Flat 16 x 16 blocks, the size over which JPEG shares its chroma.
    auto image = MakeImage(48, 32, [](int x, int y) { return (x < 16 ? 0x20C03060u : 0x7F2080E0u) + (y < 16 ? 0 : 0x100000u); });
    ASSERT_TRUE(WriteJpeg(folder / "out.jpg", *image));
    auto read = ReadJpeg(folder / "out.jpg");
    ASSERT_NE(read, nullptr);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 48; ++x)
        {
            if (x % 16 < 2 || x % 16 > 13 || y % 16 < 2 || y % 16 > 13)
                continue;
            const uint32_t got = read->GetBits()[y * 48 + x];
            const uint32_t want = image->GetBits()[y * 48 + x];
            ASSERT_EQ(got >> 24, 0xFFu);
            for (int shift = 0; shift < 24; shift += 8)
                ASSERT_NEAR(int(got >> shift & 0xFF), int(want >> shift & 0xFF), 10) << x << "," << y;
        }
}

TEST(ImageLibWrite, FailedWriteReportsAndLeavesNoFile)
{
    TestFolder folder;
    auto image = MakeImage(4, 4, [](int, int) { return 0xFF000000u; });
    for (auto write : {&WritePng, &WriteJpeg})
    {
        Platform::ClearDebugOutput();
        EXPECT_FALSE(write(folder / "missing/out.img", *image));
        EXPECT_EQ(Platform::GetDebugOutputLines().size(), 1u);
        EXPECT_FALSE(std::filesystem::exists(folder / "missing/out.img"));
        Platform::ClearDebugOutput();
        EXPECT_FALSE(write(folder / "empty.img", Image()));
        EXPECT_EQ(Platform::GetDebugOutputLines().size(), 1u);
        EXPECT_FALSE(std::filesystem::exists(folder / "empty.img"));
    }
    std::filesystem::create_directories(folder / "dir");
    EXPECT_FALSE(WritePng(folder / "dir", *image));
    EXPECT_TRUE(std::filesystem::is_directory(folder / "dir"));
}

} // namespace
} // namespace Lumo::ImageLib
