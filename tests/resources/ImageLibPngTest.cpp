#include <gtest/gtest.h>
#include <png.h>

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

std::vector<uint32_t> ReadPixels(const std::string& path)
{
    auto image = ReadPng(path);
    return image ? Pixels(*image) : std::vector<uint32_t>{};
}

TEST(ImageLibPng, PaletteWithTransparencyGivesPerPixelAlpha)
{
    TestFolder folder;
    PngSpec spec{3, 1, PNG_COLOR_TYPE_PALETTE, 8, false, {0, 1, 2}, {10, 20, 30, 40, 50, 60, 70, 80, 90}, {0, 128}};
    WriteTestPng(folder / "p.png", spec);
    EXPECT_EQ(ReadPixels(folder / "p.png"), (std::vector<uint32_t>{0x000A141E, 0x8028323C, 0xFF46505A}));
}

TEST(ImageLibPng, GreyAndGreyAlphaAndLowBitDepthsBecomeOpaqueOrAlphaRgb)
{
    TestFolder folder;
    WriteTestPng(folder / "g.png", {2, 1, PNG_COLOR_TYPE_GRAY, 8, false, {0x00, 0x9C}});
    EXPECT_EQ(ReadPixels(folder / "g.png"), (std::vector<uint32_t>{0xFF000000, 0xFF9C9C9C}));
    WriteTestPng(folder / "ga.png", {2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, {0x40, 0x10, 0xFF, 0xFE}});
    EXPECT_EQ(ReadPixels(folder / "ga.png"), (std::vector<uint32_t>{0x10404040, 0xFEFFFFFF}));
    // 2-bit grey: samples 0, 1, 2, 3 packed in one byte become 0x00, 0x55, 0xAA, 0xFF.
    WriteTestPng(folder / "g2.png", {4, 1, PNG_COLOR_TYPE_GRAY, 2, false, {0x1B}});
    EXPECT_EQ(ReadPixels(folder / "g2.png"), (std::vector<uint32_t>{0xFF000000, 0xFF555555, 0xFFAAAAAA, 0xFFFFFFFF}));
}

TEST(ImageLibPng, RgbWithoutAlphaIsOpaqueAndSixteenBitIsReducedToEight)
{
    TestFolder folder;
    WriteTestPng(folder / "rgb.png", {2, 1, PNG_COLOR_TYPE_RGB, 8, false, {1, 2, 3, 250, 251, 252}});
    EXPECT_EQ(ReadPixels(folder / "rgb.png"), (std::vector<uint32_t>{0xFF010203, 0xFFFAFBFC}));
    WriteTestPng(folder / "rgba16.png",
                 {2, 1, PNG_COLOR_TYPE_RGB_ALPHA, 16, false,
                  {0x12, 0x00, 0x34, 0x00, 0x56, 0x00, 0x78, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x80, 0x00, 0x01, 0x00}});
    EXPECT_EQ(ReadPixels(folder / "rgba16.png"), (std::vector<uint32_t>{0x78123456, 0x01FF0080}));
}

TEST(ImageLibPng, InterlacedImagesComeOutInRowOrder)
{
    TestFolder folder;
    for (const auto& [width, height] : {std::pair{13, 11}, std::pair{1, 1}, std::pair{3, 9}})
    {
        PngSpec spec{width, height, PNG_COLOR_TYPE_RGB_ALPHA, 8, true, {}};
        std::vector<uint32_t> expected;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
            {
                const uint8_t r = uint8_t(x * 17), g = uint8_t(y * 23), b = uint8_t(x + y), a = uint8_t(255 - x);
                spec.samples.insert(spec.samples.end(), {r, g, b, a});
                expected.push_back(uint32_t(a) << 24 | uint32_t(r) << 16 | uint32_t(g) << 8 | b);
            }
        WriteTestPng(folder / "i.png", spec);
        auto image = ReadPng(folder / "i.png");
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->GetWidth(), width);
        EXPECT_EQ(Pixels(*image), expected) << width << "x" << height;
    }
}

TEST(ImageLibPng, DamagedFilesGiveNullWithOneLogLine)
{
    TestFolder folder;
    std::vector<uint8_t> samples(64 * 64 * 3);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = uint8_t(i * 7919 >> 3);
    WriteTestPng(folder / "good.png", {64, 64, PNG_COLOR_TYPE_RGB, 8, false, samples});
    const Bytes good = ReadBytes(folder / "good.png");
    Bytes flipped = good;
    flipped[good.size() / 2] ^= 0x55; // a CRC error inside the image data
    const std::vector<Bytes> damaged = {Bytes(good.begin(), good.begin() + long(good.size() / 2)), flipped,
                                        Bytes(good.begin(), good.begin() + 20), Bytes{'n', 'o', 'p', 'e'}};
    for (const Bytes& bytes : damaged)
    {
        WriteBytes(folder / "bad.png", bytes);
        Platform::ClearDebugOutput();
        EXPECT_EQ(ReadPng(folder / "bad.png"), nullptr);
        EXPECT_EQ(Platform::GetDebugOutputLines().size(), 1u);
    }
}

} // namespace
} // namespace Lumo::ImageLib
