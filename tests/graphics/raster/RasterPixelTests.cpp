// Pixel values: the 16-bit packing and blends, the ARGB composite, alpha
// thresholds and modulation, bilinear sampling and 16-bit row addressing.
#include <gtest/gtest.h>

#include <random>

#include "graphics/raster/Argb8888Writer.h"
#include "graphics/raster/Rgb16Writer.h"
#include "graphics/raster/TexelSampler.h"
#include "graphics/raster/TriangleDrawers.h"
#include "graphics/raster/Xrgb888Writer.h"
#include "tests/graphics/raster/RasterTestScene.h"

namespace Lumo {
namespace {

using namespace RasterTest;

// An unpremultiplied source s at alpha a, as the fillers hand it to a blend.
uint32_t Weighted(uint32_t s, uint32_t a)
{
    return ((((s >> 16) & 0xFF) * a >> 8) << 16) | ((((s >> 8) & 0xFF) * a >> 8) << 8) | ((s & 0xFF) * a >> 8);
}

template <class Writer>
uint32_t Blended(uint32_t d, uint32_t s, uint32_t a)
{
    typename Writer::Pixel p = static_cast<typename Writer::Pixel>(d);
    Writer::Blend(&p, Weighted(s, a), a);
    return p;
}

TEST(RasterPixel, SixteenBitWrites)
{
    uint16_t p = 0x8000;
    Rgb565Writer::Opaque(&p, 0x00FFFFFF);
    EXPECT_EQ(p, 0xFFFF);
    Rgb555Writer::Opaque(&p, 0xFF123456);
    EXPECT_EQ(p, 0x08CA);
    Rgb565Writer::Opaque(&p, 0x00123456);
    EXPECT_EQ(p, 0x11AA);
    p = 0xFFFF;
    Rgb555Writer::Opaque(&p, 0x00FFFFFF);
    EXPECT_EQ(p, 0x7FFF);

    EXPECT_EQ(Blended<Rgb565Writer>(0xFFFF, 0xFFFFFF, 128), 0xEF9Du);
    EXPECT_EQ(Blended<Rgb555Writer>(0x7FFF, 0xFFFFFF, 128), 0x77BDu);
    EXPECT_EQ(Blended<Rgb555Writer>(0xFFFF, 0xFFFFFF, 128), 0x77BDu);
    EXPECT_EQ(Blended<Rgb565Writer>(0xFFFF, 0x000000, 128), 0x73AEu);
    EXPECT_EQ(Blended<Rgb555Writer>(0x7FFF, 0x000000, 128), 0x39CEu);
    EXPECT_EQ(Blended<Rgb565Writer>(0x0000, 0xFFFFFF, 128), 0x7BEFu);
    EXPECT_EQ(Blended<Rgb555Writer>(0x0000, 0xFFFFFF, 128), 0x3DEFu);
    EXPECT_EQ(Blended<Rgb565Writer>(0xFFFF, 0xFFFFFF, 9), (30u << 11) | (61u << 5) | 30u);
    EXPECT_EQ(Blended<Rgb565Writer>(0xFFFF, 0xFFFFFF, 239), (30u << 11) | (62u << 5) | 30u);
    EXPECT_EQ(Blended<Rgb555Writer>(0x7FFF, 0xFFFFFF, 9), 0x7BDEu);
    EXPECT_EQ(Blended<Rgb555Writer>(0x7FFF, 0xFFFFFF, 239), 0x7BDEu);
    for (uint32_t a = 0; a <= 240; ++a) // white over white never reaches full intensity
    {
        EXPECT_LT(Blended<Rgb565Writer>(0xFFFF, 0xFFFFFF, a), 0xFFFFu);
        EXPECT_LT(Blended<Rgb555Writer>(0x7FFF, 0xFFFFFF, a), 0x7FFFu);
    }
}

TEST(RasterPixel, ThirtyTwoBitBlends)
{
    // Composite over the destination's alpha: 128 over 128.
    EXPECT_EQ(Blended<Argb8888Writer>(0x80402010u, 0xFF8000, 128), 0xBFBE6005u);
    for (uint32_t a = 1; a < 240; ++a)
        EXPECT_EQ(Blended<Argb8888Writer>(0xFF102030u, 0x405060, a) >> 24, 0xFFu) << a;
    // Nothing over nothing leaves the pixel as it was.
    EXPECT_EQ(Blended<Argb8888Writer>(0x00123456u, 0xFFFFFF, 0), 0x00123456u);
    // XRGB weighs the destination with 255 - a and writes alpha 0xFF.
    EXPECT_EQ(Blended<Xrgb888Writer>(0x00FFFFFFu, 0x000000, 128), 0xFF7E7E7Eu);
    EXPECT_EQ(Blended<Xrgb888Writer>(0x00000000u, 0xFFFFFF, 128), 0xFF7F7F7Fu);
    // Exhaustive: the packed channel arithmetic matches the per-channel rule.
    for (uint32_t a = 0; a < 256; a += 3)
        for (uint32_t c = 0; c < 256; c += 5)
        {
            const uint32_t d = c * 0x010101u;
            const uint32_t s = (255 - c) * 0x010101u;
            const uint32_t expected = ((c * (255 - a)) >> 8) + (((255 - c) * a) >> 8);
            ASSERT_EQ(Blended<Xrgb888Writer>(d, s, a), 0xFF000000u | expected * 0x010101u);
        }
}

// One texel drawn through one entry of the ARGB-free XRGB group onto a 4 x 4
// destination: returns the pixel at (1, 1).
uint32_t DrawTexel(int entry, uint32_t texel, RasterColor colour, uint32_t dest = 0xFF000000u)
{
    const std::vector<uint32_t> texels(16 * 16, texel);
    GuardedBuffer<uint32_t> out(4, 4, dest);
    RasterVertex first[3], second[3];
    SquareTriangles(first, second, 0xFFFFFFFFu);
    GetTriangleDrawerTable()[size_t(entry)](first, out.Bits(), out.Pitch(), InfoOf(texels, 16), colour, out.Clip());
    EXPECT_TRUE(out.GuardIntact());
    return out.At(1, 1);
}

TEST(RasterPixel, AlphaThresholds)
{
    const int blendNearest = 32 + TRI_TEXTURED + TRI_ALPHA_BLEND;
    EXPECT_EQ(DrawTexel(blendNearest, 0x08FFFFFFu, {}), 0xFF000000u);   // skipped
    EXPECT_EQ(DrawTexel(blendNearest, 0x09FFFFFFu, {}), 0xFF080808u);   // blended
    EXPECT_EQ(DrawTexel(blendNearest, 0xEFFFFFFFu, {}), 0xFFEEEEEEu);   // blended
    EXPECT_EQ(DrawTexel(blendNearest, 0xF0FFFFFFu, {}), 0xFFFFFFFFu);   // opaque
    // The skip test looks at the texel alone: alpha 9 under colour alpha 10 blends with a = 0.
    const int blendModulate = blendNearest + TRI_MODULATE;
    EXPECT_EQ(DrawTexel(blendModulate, 0x09FFFFFFu, {10, 255, 255, 255}, 0xFF646464u), 0xFF636363u);
    // Modulation without alpha blend: (colour alpha * 255) >> 8 against 240.
    const int modulate = 32 + TRI_TEXTURED + TRI_MODULATE;
    // (Each channel is (255 * 255) >> 8 = 254 under a white colour.)
    EXPECT_EQ(DrawTexel(modulate, 0x00FFFFFFu, {241, 255, 255, 255}), 0xFFFEFEFEu);
    EXPECT_EQ(DrawTexel(modulate, 0x00FFFFFFu, {240, 255, 255, 255}), 0xFFEDEDEDu);
    EXPECT_EQ(DrawTexel(modulate, 0x00FFFFFFu, {255, 128, 255, 0}), 0xFF7FFE00u);
    // The plain textured filler writes alpha 0xFF whatever the texel's alpha.
    EXPECT_EQ(DrawTexel(TRI_TEXTURED, 0x00123456u, {}, 0x00000000u), 0xFF123456u);
}

TEST(RasterPixel, BilinearAtTexelCentres)
{
    const int bilinear = 32 + TRI_TEXTURED + TRI_ALPHA_BLEND + TRI_BILINEAR;
    // Opaque at its centre: S = 254, each channel (c * 254) >> 8.
    EXPECT_EQ(DrawTexel(bilinear, 0xFF80FF40u, {}), 0xFF7FFD3Fu);
    // An opaque texture draws opaque but slightly darker everywhere inside.
    EXPECT_EQ(DrawTexel(TRI_TEXTURED + TRI_BILINEAR, 0x00FFFFFFu, {}), 0xFF000000u);
    // Between texels: half of one, half of the next (u = 1.0 after the half-texel move).
    std::vector<uint32_t> texels = {0xFFFF0000u, 0xFF0000FFu};
    GuardedBuffer<uint32_t> out(2, 1, 0);
    RasterVertex tri[3] = {Fixed(0, 0, 1.0, 0.5, 0), Fixed(2, 0, 3.0, 0.5, 0), Fixed(0, 2, 1.0, 2.5, 0)};
    GetTriangleDrawerTable()[size_t(bilinear)](tri, out.Bits(), out.Pitch(), {texels.data(), 2, 2}, {},
                                               out.Clip());
    // fx = 0x8001: red weight (0x7FFF * 0xFFFF) >> 16 scaled by 255, blue the rest; second row reads 0.
    EXPECT_EQ(out.At(0, 0), 0xFF7E007Eu);
}

// The lane-parallel bilinear sample equals the channel-by-channel one,
// including taps outside the texture and negative coordinates.
TEST(RasterPixel, BilinearLanesMatchScalar)
{
    std::mt19937 random(11);
    for (int round = 0; round < 20000; ++round)
    {
        const int width = 1 + int(random() % 5), height = 1 + int(random() % 4);
        std::vector<uint32_t> texels(size_t(width * height));
        for (uint32_t& t : texels)
            t = random() % 3 == 0 ? uint32_t(random()) | 0xFF000000u : uint32_t(random());
        const RasterTextureInfo info = InfoOf(texels, width);
        const uint32_t u = uint32_t(int32_t(random() % uint32_t((width + 2) << 16)) - 0x10000);
        const uint32_t v = uint32_t(int32_t(random() % uint32_t((height + 2) << 16)) - 0x10000);
        const BilinearTexel lanes = SampleBilinear(info, u, v), scalar = SampleBilinearScalar(info, u, v);
        ASSERT_EQ(lanes.colour, scalar.colour) << round;
        ASSERT_EQ(lanes.alpha, scalar.alpha) << round;
        ASSERT_LE(scalar.alpha, 255u);
    }
}

TEST(RasterPixel, SixteenBitRowsAndBitFifteen)
{
    // A pitch of 641 bytes puts rows 640 bytes apart.
    std::vector<uint16_t> pixels(320 * 4, 0xFFFF);
    const std::vector<uint32_t> texels(256, 0xFF000000u);
    RasterVertex first[3], second[3];
    SquareTriangles(first, second, 0);
    const TriangleFiller fill = GetTriangleDrawerTable()[96 + TRI_TEXTURED];
    fill(first, pixels.data(), 641, InfoOf(texels, 16), {}, {0, 0, 4, 4});
    fill(second, pixels.data(), 641, InfoOf(texels, 16), {}, {0, 0, 4, 4});
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(pixels[size_t(y * 320 + x)], 0x0000) << x << "," << y; // bit 15 cleared too
    EXPECT_EQ(pixels[4], 0xFFFF);
    EXPECT_EQ(pixels[319], 0xFFFF);
}

TEST(RasterPixel, VertexColourGradients)
{
    // Red 0 at (0, 0), 128 at (16, 0), 64 at (0, 16): the long (left) edge
    // steps 4 a row, the span 8 a pixel, so pixel (x, y) has red 4y + 8x.
    GuardedBuffer<uint32_t> out(20, 20, 0);
    const RasterVertex tri[3] = {Fixed(0, 0, 0, 0, 0xFF000000u), Fixed(16, 0, 0, 0, 0xFF800000u),
                                 Fixed(0, 16, 0, 0, 0xFF400000u)};
    GetTriangleDrawerTable()[TRI_VERTEX_COLOR](tri, out.Bits(), out.Pitch(), {}, {}, out.Clip());
    EXPECT_EQ(out.At(3, 2), 0xFF200000u);
    EXPECT_EQ(out.At(0, 10), 0xFF280000u);
    EXPECT_EQ(out.At(5, 10), 0xFF500000u);
    EXPECT_EQ(out.At(6, 10), 0u); // the centre on the right edge is not drawn
    EXPECT_TRUE(out.GuardIntact());
}

TEST(RasterPixel, VertexColoursUnderModulation)
{
    // Vertices (200, 255, 128, 64) under the colour (128, 255, 128, 0), over black, XRGB.
    RasterVertex first[3], second[3];
    SquareTriangles(first, second, 0xC8FF8040u);
    const RasterVertex before = first[0];
    const RasterColor colour{.a = 128, .r = 255, .g = 128, .b = 0};
    const std::vector<uint32_t> white(256, 0xFFFFFFFFu);

    // Untextured: the vertices are scaled first (a 100, red 254.0..., green 64),
    // then blended at a = 100: (254 * 100) >> 8 = 99, (64 * 100) >> 8 = 25.
    GuardedBuffer<uint32_t> flat(4, 4, 0xFF000000u);
    GetTriangleDrawerTable()[32 + TRI_VERTEX_COLOR + TRI_MODULATE](first, flat.Bits(), flat.Pitch(), {}, colour,
                                                                     flat.Clip());
    EXPECT_EQ(flat.At(1, 1), 0xFF631900u);
    EXPECT_EQ(first[0].a, before.a); // the caller's records stay unscaled
    EXPECT_EQ(first[0].r, before.r);

    // Textured: F = (colour * vertex 8.16) >> 24 gives 254, 64, 0 and K = 100;
    // m = 253, 63, 0 at a = (100 * 255) >> 8 = 99: (253 * 99) >> 8 = 97, (63 * 99) >> 8 = 24.
    GuardedBuffer<uint32_t> textured(4, 4, 0xFF000000u);
    GetTriangleDrawerTable()[32 + TRI_TEXTURED + TRI_ALPHA_BLEND + TRI_VERTEX_COLOR + TRI_MODULATE](
        first, textured.Bits(), textured.Pitch(), InfoOf(white, 16), colour, textured.Clip());
    EXPECT_EQ(textured.At(1, 1), 0xFF611800u);
}

} // namespace
} // namespace Lumo
