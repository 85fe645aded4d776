// The codec module's own entry points, as the image reader does not use all.
#include <gtest/gtest.h>

#include "platform/ModuleLoader.h"
#include "platform/modules/j2kcodec/J2kCodecApi.h"
#include "tests/resources/ImageTestFiles.h"

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
