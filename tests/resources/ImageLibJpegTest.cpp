#include <gtest/gtest.h>

#include "platform/DebugOutput.h"
#include "resources/ImageLib.h"
#include "tests/resources/ImageTestFiles.h"

namespace Lumo::ImageLib {
namespace {

using namespace Testing;

// Every pixel opaque and each channel within the tolerance of expected(x, y).
// With colour, chroma is shared by 16 x 16 blocks and blends at their edges:
// only the inner pixels of each block are compared.
template <class Expected>
void ExpectNear(const Image& image, Expected expected, int tolerance = 6, bool innerOnly = false)
{
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
        {
            if (innerOnly && (x % 16 < 2 || x % 16 > 13 || y % 16 < 2 || y % 16 > 13))
                continue;
            const uint32_t got = image.GetBits()[y * image.GetWidth() + x];
            const uint32_t want = expected(x, y);
            ASSERT_EQ(got >> 24, 0xFFu) << x << "," << y;
            for (int shift = 0; shift < 24; shift += 8)
                ASSERT_NEAR(int(got >> shift & 0xFF), int(want >> shift & 0xFF), tolerance)
                    << x << "," << y << " got " << std::hex << got << " want " << want;
        }
}

// Flat blocks survive JPEG nearly unchanged.
uint8_t Level(int x, int y, int block = 8)
{
    return uint8_t(((x / block) * 3 + (y / block) * 5) % 7 * 40);
}

TEST(ImageLibJpeg, GreyJpegGivesOpaqueGreyPixels)
{
    TestFolder folder;
    Bytes samples;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 32; ++x)
            samples.push_back(Level(x, y));
    WriteTestJpeg(folder / "grey.jpg", 32, 24, 1, samples);
    auto image = ReadJpeg(folder / "grey.jpg");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetWidth(), 32);
    EXPECT_EQ(image->GetHeight(), 24);
    ExpectNear(*image, [](int x, int y) { return Level(x, y) * 0x010101u; });
}

TEST(ImageLibJpeg, ColourJpegGivesOpaqueRgbPixels)
{
    TestFolder folder;
    Bytes samples;
    auto colour = [](int x, int y) {
        return uint32_t(Level(x, y, 16)) << 16 | uint32_t(Level(x + 16, y, 16)) << 8 | uint32_t(255 - Level(x, y + 16, 16));
    };
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 48; ++x)
            for (int shift : {16, 8, 0})
                samples.push_back(uint8_t(colour(x, y) >> shift));
    WriteTestJpeg(folder / "rgb.jpg", 48, 32, 3, samples);
    auto image = ReadJpeg(folder / "rgb.jpg");
    ASSERT_NE(image, nullptr);
    ExpectNear(*image, colour, 8, true);
}

TEST(ImageLibJpeg, CmykJpegIsConvertedToRgb)
{
    TestFolder folder;
    // Adobe CMYK is stored inverted: 255 is no ink. Left half full magenta
    // ink, right half 50% black.
    Bytes samples;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            samples.insert(samples.end(), x < 8 ? std::initializer_list<uint8_t>{255, 0, 255, 255}
                                                : std::initializer_list<uint8_t>{255, 255, 255, 128});
    WriteTestJpeg(folder / "cmyk.jpg", 16, 16, 4, samples);
    auto image = ReadJpeg(folder / "cmyk.jpg");
    ASSERT_NE(image, nullptr);
    ExpectNear(*image, [](int x, int) { return x < 8 ? 0xFF00FFu : 0x808080u; }, 8);
}

TEST(ImageLibJpeg, CutOffFileStillGivesAnImageAndGarbageGivesNull)
{
    TestFolder folder;
    Bytes samples(64 * 64, 0x80);
    WriteTestJpeg(folder / "full.jpg", 64, 64, 1, samples);
    Bytes bytes = ReadBytes(folder / "full.jpg");
    bytes.resize(bytes.size() - 40);
    WriteBytes(folder / "cut.jpg", bytes);
    Platform::ClearDebugOutput();
    auto image = ReadJpeg(folder / "cut.jpg");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetWidth(), 64);
    EXPECT_EQ(Platform::GetDebugOutputLines().size(), 1u); // the one warning
    for (const Bytes& bad : {Bytes{}, Bytes{0xFF, 0xD8, 0xFF}, Bytes(100, 0x42)})
    {
        WriteBytes(folder / "bad.jpg", bad);
        Platform::ClearDebugOutput();
        EXPECT_EQ(ReadJpeg(folder / "bad.jpg"), nullptr);
        EXPECT_EQ(Platform::GetDebugOutputLines().size(), 1u);
    }
}

} // namespace
} // namespace Lumo::ImageLib
