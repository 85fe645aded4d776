// Bad input draws less or nothing, never outside the clip: non-finite and huge
// coordinates, slivers, empty textures, colour undershoot.
#include <gtest/gtest.h>

#include <limits>

#include "graphics/raster/TriangleStrip.h"
#include "tests/graphics/raster/RasterTestScene.h"

namespace Lumo {
namespace {

using namespace RasterTest;

class RasterFault : public testing::Test
{
protected:
    void SetUp() override { InitTriangleDrawers(); }
};

TEST_F(RasterFault, NonFiniteAndHugeCoordinates)
{
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float huge = 3e38f;
    const TriVertex cases[][3] = {
        {{nan, 1, 0, 0, ~0u}, {10, 1, 0, 0, ~0u}, {1, 10, 0, 0, ~0u}},
        {{-inf, 1, 0, 0, ~0u}, {inf, 1, 0, 0, ~0u}, {1, inf, 0, 0, ~0u}},
        {{-huge, -huge, nan, inf, ~0u}, {huge, 2, -inf, 0, ~0u}, {3, huge, 1e30f, -1e30f, ~0u}},
        {{-1e9f, 3, 0, 0, ~0u}, {1e9f, 3.5f, 0, 0, ~0u}, {0, 4, 0, 0, ~0u}},
    };
    const std::vector<uint32_t> texels(4, 0xFFFFFFFFu);
    TriangleTexture texture;
    texture.bits = texels.data();
    texture.width = texture.height = 2;
    for (const auto& tri : cases)
        for (int format : {0x8888, 0x888, 0x565, 0x555})
            for (TriangleTexture* t : {static_cast<TriangleTexture*>(nullptr), &texture})
            {
                GuardedBuffer<uint32_t> dest(16, 16, 0);
                DrawTriangleStrip(tri, 3, t, {200, 1, 2, 3}, 0, dest.Clip(), dest.Bits(), dest.Pitch(),
                                  PixelFormatCode(format), true, true);
                EXPECT_TRUE(dest.GuardIntact());
            }
    // A NaN vertex drops its triangle.
    GuardedBuffer<uint32_t> dest(16, 16, 0);
    DrawTriangleStrip(cases[0], 3, nullptr, {}, 0, dest.Clip(), dest.Bits(), dest.Pitch(), PIXEL_FORMAT_888, false,
                      true);
    EXPECT_EQ(dest.At(3, 3), 0u);
}

template <class Pixel>
void CheckInsideClip(const RasterVertex* tri, int entry)
{
    const std::vector<uint32_t> texels(9, 0x80FFFFFFu);
    GuardedBuffer<Pixel> dest(16, 16, 0);
    GetTriangleDrawerTable()[size_t(entry)](tri, dest.Bits(), dest.Pitch(), InfoOf(texels, 3), {100, 100, 100, 100},
                                            {2, 2, 12, 12});
    ASSERT_TRUE(dest.GuardIntact()) << entry;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
        {
            if (x < 2 || y < 2 || x > 13 || y > 13)
            {
                ASSERT_EQ(dest.At(x, y), 0u) << entry << " at " << x << "," << y;
            }
        }
}

// Fillers called directly with vertices far outside the clip, and slivers
// whose slopes overflow 64 bits, write only inside the clip.
TEST_F(RasterFault, FillersStayInsideTheClip)
{
    const int32_t big = std::numeric_limits<int32_t>::max(), small = std::numeric_limits<int32_t>::min();
    const RasterVertex cases[][3] = {
        {Fixed(-1000, -1000, 0, 0, ~0u), Fixed(5000, 3, 9, 9, ~0u), Fixed(2, 9000, 0, 0, ~0u)},
        {{small, small, 0, 0, 0, 0, 0, 0}, {big, small + 1, big, big, big, big, big, big}, {0, big, 0, 0, 0, 0, 0, 0}},
        {Fixed(3, 2.99999, 0, 0, ~0u), {big, 3 << 16, big, 0, 0, 0, big, big}, Fixed(4, 3.00002, 0, 0, ~0u)},
        {Fixed(3, 2, 0, 0, ~0u), Fixed(3.00001, 9, 1e4, 1e4, ~0u), {3 << 16, 9 << 16, 0, 0, 0, 0, 0, 1}},
    };
    for (const auto& tri : cases)
        for (int entry = 0; entry < kTriangleDrawerCount; ++entry)
        {
            if (entry < 64)
                CheckInsideClip<uint32_t>(tri, entry);
            else
                CheckInsideClip<uint16_t>(tri, entry);
            if (HasFatalFailure())
                return;
        }
}

TEST_F(RasterFault, EmptyTextureDrawsNothing)
{
    TriangleTexture empty;
    GuardedBuffer<uint32_t> dest(17, 17, 0x11223344u);
    TriVertex strip[4];
    SquareStrip(strip, 0xFFFFFFFFu);
    DrawTriangleStrip(strip, 4, &empty, {}, 0, dest.Clip(), dest.Bits(), dest.Pitch(), PIXEL_FORMAT_888, false,
                      false);
    EXPECT_EQ(dest.At(3, 3), 0x11223344u);
}

TEST_F(RasterFault, VertexColourUndershootClampsToZero)
{
    // Channels a fraction below zero read 0, not 255.
    RasterVertex first[3], second[3];
    SquareTriangles(first, second, 0xFF000000u);
    for (RasterVertex& v : first)
        v.r = v.g = v.b = -0x100;
    const std::vector<uint32_t> texels(256, 0xFFFFFFFFu);
    for (int entry : {32 + 4, 32 + 16 + 4, 32 + 16 + 8 + 4 + 1, 64 + 4})
    {
        GuardedBuffer<uint32_t> dest(16, 16, 0x12345678u);
        GetTriangleDrawerTable()[size_t(entry)](first, dest.Bits(), dest.Pitch(), InfoOf(texels, 16), {},
                                                dest.Clip());
        if (entry < 64)
            EXPECT_EQ(dest.At(2, 2), 0xFF000000u) << entry;
        else
            EXPECT_EQ(reinterpret_cast<uint16_t*>(dest.Bits())[2 * dest.stride + 2], 0u) << entry;
    }
}

TEST_F(RasterFault, ModulatedVertexCopiesLeaveTheInputAlone)
{
    RasterVertex first[3], second[3];
    SquareTriangles(first, second, 0xC0FF8040u);
    const RasterVertex before = first[1];
    GuardedBuffer<uint32_t> dest(16, 16, 0);
    const TriangleFiller fill = GetTriangleDrawerTable()[32 + TRI_VERTEX_COLOR + TRI_MODULATE];
    fill(first, dest.Bits(), dest.Pitch(), {}, {128, 128, 128, 128}, dest.Clip());
    const uint32_t once = dest.At(1, 1);
    fill(first, dest.Bits(), dest.Pitch(), {}, {128, 128, 128, 128}, dest.Clip());
    EXPECT_EQ(first[1].a, before.a);
    EXPECT_EQ(first[1].r, before.r);
    EXPECT_NE(once, 0u);
}

} // namespace
} // namespace Lumo
