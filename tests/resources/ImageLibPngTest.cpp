#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <tuple>

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

void StoreBigEndian(uint8_t* at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        at[i] = uint8_t(value >> (24 - 8 * i));
}

// A chunk as a PNG file holds it: length, type, data, CRC of type and data.
Bytes Chunk(const char (&type)[5], const Bytes& data)
{
    Bytes chunk(12 + data.size());
    StoreBigEndian(chunk.data(), static_cast<uint32_t>(data.size()));
    for (size_t i = 0; i < 4; ++i)
        chunk[4 + i] = uint8_t(type[i]);
    for (size_t i = 0; i < data.size(); ++i)
        chunk[8 + i] = data[i];
    StoreBigEndian(chunk.data() + 8 + data.size(),
                   static_cast<uint32_t>(crc32(0, chunk.data() + 4, static_cast<uInt>(4 + data.size()))));
    return chunk;
}

// A 1-bit grey Adam7 PNG of the given size whose image data is the first
// dataBytes of a deflate stream of zeros: cut short, as a crafted file is.
Bytes CutShortInterlacedPng(uint32_t width, uint32_t height, size_t dataBytes)
{
    Bytes header = {0, 0, 0, 0, 0, 0, 0, 0, 1, PNG_COLOR_TYPE_GRAY, 0, 0, PNG_INTERLACE_ADAM7};
    StoreBigEndian(header.data(), width);
    StoreBigEndian(header.data() + 4, height);
    const Bytes zeros(4 << 20, 0);
    Bytes stream(compressBound(static_cast<uLong>(zeros.size())));
    uLongf streamBytes = static_cast<uLongf>(stream.size());
    EXPECT_EQ(compress2(stream.data(), &streamBytes, zeros.data(), static_cast<uLong>(zeros.size()), 9), Z_OK);
    EXPECT_GT(streamBytes, dataBytes);
    stream.resize(dataBytes);
    Bytes file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    for (const Bytes& chunk : {Chunk("IHDR", header), Chunk("IDAT", stream), Chunk("IEND", {})})
        file.insert(file.end(), chunk.begin(), chunk.end());
    return file;
}

// A header that asks for more image data than the rest of the file could
// inflate to is refused before any pixel memory is taken; complete files of
// every colour type and depth, interlaced or not, and the flattest picture
// deflate can make, still decode.
TEST(ImageLibPng, ImageDataThatCannotFitInTheFileIsRefusedWhileRealFilesDecode)
{
    TestFolder folder;
    for (const auto& [width, height, bytes] : {std::tuple{128u, 131072u, size_t{127}},
                                               std::tuple{64u, 262144u, size_t{1000}}})
    {
        const Bytes crafted = CutShortInterlacedPng(width, height, bytes - 57);
        ASSERT_EQ(crafted.size(), bytes);
        WriteBytes(folder / "crafted.png", crafted);
        Platform::ClearDebugOutput();
        EXPECT_EQ(ReadPng(folder / "crafted.png"), nullptr);
        const auto lines = Platform::GetDebugOutputLines();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_NE(lines[0].find("cannot fit in the file"), std::string::npos) << lines[0];
    }

    struct Kind
    {
        int colorType;
        int channels;
        std::vector<int> depths;
    };
    const Kind kinds[] = {{PNG_COLOR_TYPE_GRAY, 1, {1, 2, 4, 8, 16}},  {PNG_COLOR_TYPE_RGB, 3, {8, 16}},
                          {PNG_COLOR_TYPE_PALETTE, 1, {1, 2, 4, 8}}, {PNG_COLOR_TYPE_GRAY_ALPHA, 2, {8, 16}},
                          {PNG_COLOR_TYPE_RGB_ALPHA, 4, {8, 16}}};
    Bytes palette;
    for (int i = 0; i < 256; ++i)
        palette.insert(palette.end(), {uint8_t(i), uint8_t(255 - i), uint8_t(i * 7)});
    for (const Kind& kind : kinds)
        for (const int depth : kind.depths)
        {
            SCOPED_TRACE(testing::Message() << "colour type " << kind.colorType << ", depth " << depth);
            constexpr int kSide = 32;
            const size_t rowBytes = (size_t(kSide) * kind.channels * depth + 7) / 8;
            Bytes samples(rowBytes * kSide);
            for (size_t i = 0; i < samples.size(); ++i)
                samples[i] = uint8_t((i * 2654435761u) >> 13);
            const Bytes entries(palette.begin(), palette.begin() + 3 * (size_t(1) << std::min(depth, 8)));
            const Bytes usedPalette = kind.colorType == PNG_COLOR_TYPE_PALETTE ? entries : Bytes{};
            WriteTestPng(folder / "plain.png", {kSide, kSide, kind.colorType, depth, false, samples, usedPalette});
            WriteTestPng(folder / "adam7.png", {kSide, kSide, kind.colorType, depth, true, samples, usedPalette});
            const std::vector<uint32_t> plain = ReadPixels(folder / "plain.png");
            ASSERT_EQ(plain.size(), size_t(kSide * kSide));
            EXPECT_EQ(ReadPixels(folder / "adam7.png"), plain);
        }

    // All zeros, the best deflate can do, interlaced and not.
    for (const bool interlaced : {false, true})
    {
        WriteTestPng(folder / "flat.png", {2048, 2048, PNG_COLOR_TYPE_GRAY, 1, interlaced, Bytes(256 * 2048, 0)});
        const auto image = ReadPng(folder / "flat.png");
        ASSERT_NE(image, nullptr) << "interlaced " << interlaced;
        EXPECT_EQ(image->GetBits()[2048 * 2048 - 1], 0xFF000000u);
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
