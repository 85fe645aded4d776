#include <gtest/gtest.h>

#include "platform/DebugOutput.h"
#include "resources/ImageLib.h"
#include "tests/resources/ImageTestFiles.h"

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

TEST_F(ImageLibJpeg2000, DamagedFilesGiveNullWithOneLogLine)
{
    WriteTestJpeg2000(folder / "good.j2k", 16, 16, 3, Samples(16, 16, 3), false);
    const Bytes good = ReadBytes(folder / "good.j2k");
    const std::vector<Bytes> damaged = {Bytes(good.begin(), good.begin() + 40), Bytes(good.begin(), good.begin() + 2),
                                        Bytes(30, 0x11)};
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
