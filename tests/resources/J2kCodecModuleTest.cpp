// The codec module's own entry points, as the image reader does not use all.
#include <gtest/gtest.h>

#include "platform/ModuleLoader.h"
#include "platform/modules/j2kcodec/J2kCodecApi.h"
#include "tests/resources/ImageTestFiles.h"
#include "tests/resources/J2kTestImages.h"

namespace Lumo::ImageLib {
namespace {

using namespace Testing;

class J2kCodecModule : public testing::Test
{
protected:
    void SetUp() override { ASSERT_NE(module, nullptr); }
    void TearDown() override { Platform::FreeModule(module); }

    template <class Function>
    Function Entry(const char* name)
    {
        return reinterpret_cast<Function>(Platform::GetModuleEntry(module, name));
    }

    Platform::ModuleHandle module = Platform::LoadModule("j2k-codec.dll");
    TestFolder folder;
};

TEST_F(J2kCodecModule, OpensFilesByNameAndDecodesReducedResolutions)
{
    Bytes samples;
    for (int i = 0; i < 16 * 12; ++i)
        samples.push_back(uint8_t(i));
    WriteTestJpeg2000(folder / "g.j2k", 16, 12, 1, samples, false);
    auto openFile = Entry<J2K_OpenFile_t>("_J2K_OpenFile@4");
    auto close = Entry<J2K_Close_t>("_J2K_Close@4");
    auto dimensions = Entry<J2K_GetResolutionDimensions_t>("_J2K_GetResolutionDimensions@16");
    auto decode = Entry<J2K_Decode_t>("_J2K_Decode@20");
    ASSERT_TRUE(openFile && close && dimensions && decode);

    J2K_Handle handle = openFile((folder / "g.j2k").c_str());
    ASSERT_NE(handle, nullptr);
    int32_t width = 0, height = 0;
    EXPECT_EQ(dimensions(handle, 1, &width, &height), 0);
    EXPECT_EQ(width, 8);
    EXPECT_EQ(height, 6);
    std::vector<uint32_t> pixels(8 * 6 + 1, 0xDEADBEEF);
    auto* buffer = reinterpret_cast<uint8_t*>(pixels.data());
    int32_t size = 8 * 6 * 4, pitch = 8 * 4;
    EXPECT_NE(decode(handle, &buffer, &size, "bpp=3", &pitch), 0); // only 32-bit pixels
    EXPECT_EQ(decode(handle, &buffer, &size, "bpp=4,rl=1", &pitch), 0);
    EXPECT_EQ(pixels[0] >> 24, 0xFFu);
    EXPECT_EQ(pixels[0] & 0xFF, (pixels[0] >> 8) & 0xFF); // grey
    EXPECT_EQ(pixels[8 * 6], 0xDEADBEEF);                 // nothing past the buffer
    EXPECT_EQ(close(handle), 0);
    EXPECT_EQ(openFile((folder / "none.j2k").c_str()), nullptr);
}

// Sizes worked out by hand: the finest component's samples are
// ceil(x1 / d) - ceil(x0 / d) across, d being its step doubled per level.
TEST_F(J2kCodecModule, ReportsAndFillsThePictureSizeOfSubsampledFilesAtEveryLevel)
{
    struct Case
    {
        J2kLayout layout;
        int32_t width, height;             // level 0
        int32_t halfWidth, halfHeight;     // level 1
    };
    const std::vector<Case> cases = {
        {{3, 5, 14, 12, {{1, 1}, {2, 2}, {2, 2}}}, 11, 7, 5, 3},  // not ceil(11 / 2) x ceil(7 / 2)
        {{0, 0, 13, 9, {{2, 2}, {2, 2}, {2, 2}}}, 7, 5, 4, 3},    // not the image area 13 x 9
        {{1, 0, 10, 10, {{2, 1}, {1, 1}, {2, 2}}}, 9, 10, 4, 5},  // finest is the second
    };
    auto openFile = Entry<J2K_OpenFile_t>("_J2K_OpenFile@4");
    auto close = Entry<J2K_Close_t>("_J2K_Close@4");
    auto getInfo = Entry<J2K_GetInfo_t>("_J2K_GetInfo@16");
    auto dimensions = Entry<J2K_GetResolutionDimensions_t>("_J2K_GetResolutionDimensions@16");
    auto decode = Entry<J2K_Decode_t>("_J2K_Decode@20");
    ASSERT_TRUE(openFile && close && getInfo && dimensions && decode);
    for (const Case& test : cases)
    {
        SCOPED_TRACE(test.width);
        WriteJ2kLayout(folder / "s.j2k", test.layout, MakeJ2kSamples(test.layout));
        J2K_Handle handle = openFile((folder / "s.j2k").c_str());
        ASSERT_NE(handle, nullptr);
        int32_t width = 0, height = 0, components = 0;
        EXPECT_EQ(getInfo(handle, &width, &height, &components), 0);
        EXPECT_EQ(width, test.width);
        EXPECT_EQ(height, test.height);
        EXPECT_EQ(dimensions(handle, 0, &width, &height), 0);
        EXPECT_EQ(width, test.width);
        EXPECT_EQ(height, test.height);
        ASSERT_EQ(dimensions(handle, 1, &width, &height), 0);
        ASSERT_EQ(width, test.halfWidth);
        ASSERT_EQ(height, test.halfHeight);
        // Colour pixels are opaque: a transparent mark left over is a pixel
        // never written.
        const uint32_t mark = 0x00A5A5A5;
        std::vector<uint32_t> pixels(size_t(width * height) + 1, mark);
        auto* buffer = reinterpret_cast<uint8_t*>(pixels.data());
        int32_t size = width * height * 4, pitch = width * 4;
        EXPECT_EQ(decode(handle, &buffer, &size, "bpp=4,rl=1", &pitch), 0);
        for (int32_t i = 0; i < width * height; ++i)
            ASSERT_EQ(pixels[size_t(i)] >> 24, 0xFFu) << "pixel " << i;
        EXPECT_EQ(pixels.back(), mark);
        EXPECT_EQ(close(handle), 0);
    }
}

// Each kind of file whose decoding would cost far more than its size can
// justify is refused before decoding; the same pictures in a reasonable form
// are read.
TEST_F(J2kCodecModule, RefusesFilesOutOfProportionToTheirSize)
{
    auto openFile = Entry<J2K_OpenFile_t>("_J2K_OpenFile@4");
    auto close = Entry<J2K_Close_t>("_J2K_Close@4");
    auto getInfo = Entry<J2K_GetInfo_t>("_J2K_GetInfo@16");
    auto lastError = Entry<J2K_getLastError_t>("_J2K_getLastError@0");
    ASSERT_TRUE(openFile && close && getInfo && lastError);
    auto infoResult = [&](const std::string& path) {
        J2K_Handle handle = openFile(path.c_str());
        EXPECT_NE(handle, nullptr);
        int32_t width = 0, height = 0, components = 0;
        const int32_t result = getInfo(handle, &width, &height, &components);
        if (result != J2K_ERROR_NONE)
        {
            EXPECT_EQ(lastError(), result);
        }
        close(handle);
        return result;
    };

    const J2kLayout small{0, 0, 8, 8, {{1, 1}, {1, 1}, {1, 1}}};
    WriteJ2kLayout(folder / "small.j2k", small, MakeJ2kSamples(small));
    const Bytes good = ReadBytes(folder / "small.j2k");
    EXPECT_EQ(infoResult(folder / "small.j2k"), J2K_ERROR_NONE);
    Bytes tileBomb = good; // 8 x 65,284 in 8 x 8 tiles: 8,161 tiles
    SetSizField(tileBomb, SizField::Height, 65284);
    WriteBytes(folder / "tiles.j2k", tileBomb);
    EXPECT_EQ(infoResult(folder / "tiles.j2k"), J2K_ERROR_LIMITS);
    Bytes hugeSize = good; // one 4,000 x 4,000 tile
    for (SizField field : {SizField::Width, SizField::Height, SizField::TileWidth, SizField::TileHeight})
        SetSizField(hugeSize, field, 4000);
    WriteBytes(folder / "huge.j2k", hugeSize);
    EXPECT_EQ(infoResult(folder / "huge.j2k"), J2K_ERROR_LIMITS);

    // A flat grey 1024 x 1280 picture compresses to some 200 bytes; in 4 x 4
    // code blocks it would take some 40 MB to decode, in 64 x 64 ones 10 MB.
    J2kLayout flat{0, 0, 1024, 1280, {{1, 1}}};
    const J2kSamples grey(1, Bytes(1024 * 1280, 0x80));
    flat.codeBlockSize = 4;
    WriteJ2kLayout(folder / "blocks.j2k", flat, grey);
    EXPECT_LT(ReadBytes(folder / "blocks.j2k").size(), 1024u);
    EXPECT_EQ(infoResult(folder / "blocks.j2k"), J2K_ERROR_LIMITS);
    flat.codeBlockSize = 64;
    WriteJ2kLayout(folder / "flat.j2k", flat, grey);
    EXPECT_EQ(infoResult(folder / "flat.j2k"), J2K_ERROR_NONE);

    // Small tiles are fine while the file holds them all.
    J2kLayout tiled{0, 0, 64, 48, {{1, 1}, {2, 2}, {2, 2}}};
    tiled.tileSize = 8;
    WriteJ2kLayout(folder / "tiled.j2k", tiled, MakeJ2kSamples(tiled));
    EXPECT_EQ(infoResult(folder / "tiled.j2k"), J2K_ERROR_NONE);
}

TEST_F(J2kCodecModule, ReportsItsVersionAndErrors)
{
    auto version = Entry<J2K_getVersion_t>("_J2K_getVersion@0");
    auto lastError = Entry<J2K_getLastError_t>("_J2K_getLastError@0");
    auto errorText = Entry<J2K_getErrorStr_t>("_J2K_getErrorStr@4");
    auto getInfo = Entry<J2K_GetInfo_t>("_J2K_GetInfo@16");
    ASSERT_TRUE(version && lastError && errorText && getInfo);
    EXPECT_GE(version(), J2K_REQUIRED_VERSION);
    int32_t width = 0, height = 0, components = 0;
    EXPECT_EQ(getInfo(nullptr, &width, &height, &components), J2K_ERROR_ARGUMENT);
    EXPECT_EQ(lastError(), J2K_ERROR_ARGUMENT);
    EXPECT_STREQ(errorText(J2K_ERROR_ARGUMENT), "invalid argument");
}

} // namespace
} // namespace Lumo::ImageLib
