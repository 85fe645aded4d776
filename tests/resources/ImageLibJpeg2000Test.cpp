#include <gtest/gtest.h>

#include "platform/DebugOutput.h"
#include "resources/ImageLib.h"
#include "tests/resources/ImageTestFiles.h"
#include "tests/resources/J2kTestImages.h"

namespace Lumo::ImageLib {
namespace {

using namespace Testing;

class ImageLibJpeg2000 : public testing::Test
{
protected:
    void SetUp() override { OpenJpeg2000Codec(); }
    void TearDown() override
    {
        CloseJpeg2000Codec();
        gJpeg2000ForceOpaque = true;
    }
    TestFolder folder;
};

Bytes Samples(int width, int height, int components)
{
    Bytes samples;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < components; ++c)
                samples.push_back(uint8_t(x * 31 + y * 17 + c * 70));
    return samples;
}

uint32_t Expected(const Bytes& samples, int components, int i, bool opaque)
{
    const uint8_t* s = &samples[size_t(i * components)];
    const uint32_t alpha = components == 4 && !opaque ? s[3] : 0xFF;
    if (components == 1)
        return alpha << 24 | s[0] * 0x010101u;
    return alpha << 24 | uint32_t(s[0]) << 16 | uint32_t(s[1]) << 8 | s[2];
}

TEST_F(ImageLibJpeg2000, CodeStreamsAndJp2FilesDecodeLosslessly)
{
    const int width = 11, height = 7;
    for (int components : {1, 3, 4})
        for (bool jp2 : {false, true})
            for (bool opaque : {true, false})
            {
                const Bytes samples = Samples(width, height, components);
                const std::string path = folder / (jp2 ? "a.jp2" : "a.j2k");
                WriteTestJpeg2000(path, width, height, components, samples, jp2);
                gJpeg2000ForceOpaque = opaque;
                auto image = ReadImageFile(path, false);
                ASSERT_NE(image, nullptr) << components << " components";
                ASSERT_EQ(image->GetWidth(), width);
                ASSERT_EQ(image->GetHeight(), height);
                for (int i = 0; i < width * height; ++i)
                    ASSERT_EQ(image->GetBits()[i], Expected(samples, components, i, opaque))
                        << components << " components, jp2 " << jp2 << ", pixel " << i;
            }
}

// Subsampled components (steps above 1), image offsets and odd sizes: the
// picture has the finest component's size and every pixel comes from the
// samples covering its place on the image grid.
TEST_F(ImageLibJpeg2000, SubsampledComponentsFillEveryPixelFromTheirSamples)
{
    struct Case
    {
        const char* name;
        J2kLayout layout;
    };
    const std::vector<Case> cases = {
        {"all 2x2", {0, 0, 13, 9, {{2, 2}, {2, 2}, {2, 2}}}},
        {"all 2x2, offsets", {3, 5, 20, 16, {{2, 2}, {2, 2}, {2, 2}}}},
        {"first only 2x2", {0, 0, 12, 8, {{2, 2}, {1, 1}, {1, 1}}}},
        {"chroma 2x2 (4:2:0), odd offsets", {3, 5, 14, 12, {{1, 1}, {2, 2}, {2, 2}}}},
        {"chroma 2x1 (4:2:2), odd size", {1, 0, 16, 7, {{1, 1}, {2, 1}, {2, 1}}}},
        {"chroma 4x4, offsets", {5, 2, 23, 13, {{1, 1}, {4, 4}, {4, 4}}}},
        {"grey 3x2, offsets", {1, 1, 17, 12, {{3, 2}}}},
        {"grey and alpha 2x2", {1, 3, 10, 10, {{1, 1}, {2, 2}}}},
        {"colour 2x2, alpha 1x1", {2, 1, 15, 10, {{2, 2}, {2, 2}, {2, 2}, {1, 1}}}},
        {"colour, alpha 2x4, odd offsets", {1, 3, 12, 14, {{1, 1}, {1, 1}, {1, 1}, {2, 4}}}},
        {"JP2, chroma 2x2", {1, 1, 10, 8, {{1, 1}, {2, 2}, {2, 2}}, true}},
    };
    gJpeg2000ForceOpaque = false;
    for (const Case& test : cases)
    {
        SCOPED_TRACE(test.name);
        const std::string path = folder / (test.layout.jp2 ? "s.jp2" : "s.j2k");
        const J2kSamples samples = MakeJ2kSamples(test.layout);
        WriteJ2kLayout(path, test.layout, samples);
        const J2kPicture expected = ExpectedJ2kPicture(test.layout, samples);
        auto image = ReadJpeg2000(path);
        ASSERT_NE(image, nullptr);
        ASSERT_EQ(image->GetWidth(), int(expected.width));
        ASSERT_EQ(image->GetHeight(), int(expected.height));
        for (size_t i = 0; i < expected.pixels.size(); ++i)
            ASSERT_EQ(image->GetBits()[i], expected.pixels[i])
                << "pixel " << i % expected.width << ", " << i / expected.width;
    }
}

TEST_F(ImageLibJpeg2000, ComponentsWithoutACommonGridAreRefused)
{
    const std::vector<J2kLayout> layouts = {
        {0, 0, 12, 12, {{1, 2}, {2, 1}, {2, 2}}}, // finest across, another finest down
        {0, 0, 12, 12, {{2, 2}, {3, 3}, {2, 2}}}, // 3 is no multiple of 2
    };
    for (const J2kLayout& layout : layouts)
    {
        WriteJ2kLayout(folder / "g.j2k", layout, MakeJ2kSamples(layout));
        Platform::ClearDebugOutput();
        EXPECT_EQ(ReadJpeg2000(folder / "g.j2k"), nullptr);
        EXPECT_EQ(Platform::GetDebugOutputLines().size(), 1u);
    }
    // Beyond the four picture components any steps are fine.
    const J2kLayout extra{0, 0, 6, 6, {{1, 1}, {1, 1}, {1, 1}, {1, 1}, {3, 2}}};
    WriteJ2kLayout(folder / "e.j2k", extra, MakeJ2kSamples(extra));
    auto image = ReadJpeg2000(folder / "e.j2k");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetWidth(), 6);
}

TEST_F(ImageLibJpeg2000, DamagedFilesGiveNullWithOneLogLine)
{
    WriteTestJpeg2000(folder / "good.j2k", 16, 16, 3, Samples(16, 16, 3), false);
    const Bytes good = ReadBytes(folder / "good.j2k");
    // A tile bomb: the image made 130,576 rows high in 16 x 16 tiles, so that
    // 8,161 tiles would have to be set up.
    Bytes bomb = good;
    SetSizField(bomb, SizField::Height, 130576);
    const std::vector<Bytes> damaged = {Bytes(good.begin(), good.begin() + 40), Bytes(good.begin(), good.begin() + 2),
                                        Bytes(30, 0x11), bomb};
    for (const Bytes& bytes : damaged)
    {
        WriteBytes(folder / "bad.j2k", bytes);
        Platform::ClearDebugOutput();
        EXPECT_EQ(ReadJpeg2000(folder / "bad.j2k"), nullptr);
        EXPECT_EQ(Platform::GetDebugOutputLines().size(), 1u);
    }
}

TEST_F(ImageLibJpeg2000, WithoutTheCodecFilesGiveNullWithoutError)
{
    WriteTestJpeg2000(folder / "a.j2k", 4, 4, 3, Samples(4, 4, 3), false);
    CloseJpeg2000Codec();
    Platform::ClearDebugOutput();
    OpenJpeg2000Codec("no-such-codec.dll");
    const size_t moduleLines = Platform::GetDebugOutputLines().size();
    EXPECT_EQ(ReadJpeg2000(folder / "a.j2k"), nullptr);
    EXPECT_EQ(ReadImageFile(folder / "a", true), nullptr);
    EXPECT_EQ(Platform::GetDebugOutputLines().size(), moduleLines); // the readers add nothing
    CloseJpeg2000Codec();
    OpenJpeg2000Codec();
    EXPECT_NE(ReadJpeg2000(folder / "a.j2k"), nullptr);
}

} // namespace
} // namespace Lumo::ImageLib
