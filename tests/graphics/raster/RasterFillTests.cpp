// Coverage: the fill rule, shared edges, clipping and the strip order.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "graphics/raster/FixedPoint.h"
#include "graphics/raster/TriangleClipper.h"
#include "graphics/raster/TriangleStrip.h"
#include "tests/graphics/raster/RasterTestScene.h"

namespace Lumo {
namespace {

using namespace RasterTest;

// Untextured with vertex colours: a pixel drawn once at alpha 0x80 over black
// reads 127, drawn twice 190.
void DrawSolid(GuardedBuffer<uint32_t>& dest, const TriVertex* v, int count, RasterRect clip)
{
    DrawTriangleStrip(v, count, nullptr, RasterColor{}, 0, clip, dest.Bits(), dest.Pitch(), PIXEL_FORMAT_888, false,
                      true);
}

std::string Coverage(GuardedBuffer<uint32_t>& dest)
{
    std::string rows;
    for (int y = 0; y < dest.height; ++y)
    {
        for (int x = 0; x < dest.width; ++x)
            rows += dest.At(x, y) == 0 ? '.' : 'X';
        rows += '\n';
    }
    return rows;
}

class RasterFill : public testing::Test
{
protected:
    void SetUp() override { InitTriangleDrawers(); }
};

TEST_F(RasterFill, TopLeftRule)
{
    GuardedBuffer<uint32_t> dest(6, 6, 0);
    const TriVertex tri[3] = {{0, 0, 0, 0, 0xFFFFFFFF}, {4, 0, 0, 0, 0xFFFFFFFF}, {0, 4, 0, 0, 0xFFFFFFFF}};
    DrawSolid(dest, tri, 3, dest.Clip());
    EXPECT_EQ(Coverage(dest), "XXXX..\n"
                              "XXX...\n"
                              "XX....\n"
                              "X.....\n"
                              "......\n"
                              "......\n");
    // Half-pixel offsets: centres strictly inside only.
    GuardedBuffer<uint32_t> half(6, 6, 0);
    const TriVertex off[3] = {{0.5f, 0.5f, 0, 0, 0xFFFFFFFF}, {4.5f, 0.5f, 0, 0, 0xFFFFFFFF},
                              {0.5f, 4.5f, 0, 0, 0xFFFFFFFF}};
    DrawSolid(half, off, 3, half.Clip());
    EXPECT_EQ(Coverage(half), "......\n"
                              ".XXX..\n"
                              ".XX...\n"
                              ".X....\n"
                              "......\n"
                              "......\n");
    EXPECT_TRUE(half.GuardIntact());
}

TEST_F(RasterFill, DegenerateTrianglesDrawNothing)
{
    GuardedBuffer<uint32_t> dest(8, 8, 0);
    const TriVertex oneRow[3] = {{0, 2.1f, 0, 0, ~0u}, {7, 2.5f, 0, 0, ~0u}, {3, 2.9f, 0, 0, ~0u}};
    const TriVertex onLine[3] = {{0, 0, 0, 0, ~0u}, {3, 3, 0, 0, ~0u}, {6, 6, 0, 0, ~0u}};
    DrawSolid(dest, oneRow, 3, dest.Clip());
    DrawSolid(dest, onLine, 3, dest.Clip());
    EXPECT_EQ(Coverage(dest).find('X'), std::string::npos);
}

// Random convex quads drawn as two triangles of a strip: every pixel centre
// inside is covered exactly once, none outside.
TEST_F(RasterFill, SharedEdgeCoversEachPixelOnce)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<float> coordinate(1.0f, 30.0f);
    for (int round = 0; round < 200; ++round)
    {
        GuardedBuffer<uint32_t> dest(32, 32, 0);
        // A convex quad: centre plus four radii at increasing angles.
        const float cx = coordinate(random) * 0.2f + 13, cy = coordinate(random) * 0.2f + 13;
        float px[4], py[4];
        for (int k = 0; k < 4; ++k)
        {
            const float angle = float(k) * 1.5707963f + coordinate(random) * 0.02f;
            const float radius = 4.0f + coordinate(random) * 0.3f;
            px[k] = cx + radius * std::cos(angle);
            py[k] = cy + radius * std::sin(angle);
        }
        // Strip order 0, 1, 3, 2 walks the quad's outline as 0-1-2-3.
        const TriVertex strip[4] = {{px[0], py[0], 0, 0, 0x80FFFFFFu},
                                    {px[1], py[1], 0, 0, 0x80FFFFFFu},
                                    {px[3], py[3], 0, 0, 0x80FFFFFFu},
                                    {px[2], py[2], 0, 0, 0x80FFFFFFu}};
        DrawSolid(dest, strip, 4, dest.Clip());
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
            {
                // Signed distances of the centre to the four edges (counter-clockwise outline).
                float nearest = 1e9f;
                bool inside = true;
                for (int k = 0; k < 4; ++k)
                {
                    const float ex = px[(k + 1) % 4] - px[k], ey = py[(k + 1) % 4] - py[k];
                    const float d = (ex * (float(y) - py[k]) - ey * (float(x) - px[k])) / std::hypot(ex, ey);
                    inside = inside && d > 0;
                    nearest = std::min(nearest, std::fabs(d));
                }
                const uint32_t value = dest.At(x, y) & 0xFF;
                ASSERT_TRUE(value == 0 || value == 127) << "pixel drawn twice at " << x << "," << y;
                if (nearest > 0.01f)
                {
                    ASSERT_EQ(value == 127, inside) << x << "," << y << " round " << round;
                }
            }
    }
}

// A triangle larger than the clip: columns x .. x + width - 2 and rows
// y .. y + height - 2 are written, nothing else.
TEST_F(RasterFill, ClipKeepsInsideTheRectangle)
{
    GuardedBuffer<uint32_t> dest(12, 10, 0);
    const TriVertex big[3] = {{-50, -40, 0, 0, ~0u}, {90, -40, 0, 0, ~0u}, {-50, 90, 0, 0, ~0u}};
    DrawSolid(dest, big, 3, {2, 3, 6, 5});
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x)
            EXPECT_EQ(dest.At(x, y) != 0, x >= 2 && x <= 6 && y >= 3 && y <= 6) << x << "," << y;
    EXPECT_TRUE(dest.GuardIntact());
}

TEST_F(RasterFill, ClipperOutputs)
{
    const auto clip = [](TriVertex a, TriVertex b, TriVertex c) {
        const TriVertex* tri[3] = {&a, &b, &c};
        ClipList out;
        return ClipTriangleToRect(tri, 0, 10, 0, 10, out);
    };
    EXPECT_EQ(clip({1, 1, 0, 0, 0}, {9, 1, 0, 0, 0}, {1, 9, 0, 0, 0}), 3);
    EXPECT_EQ(ClipPoolCount(), 0); // nothing new inside the rectangle
    EXPECT_EQ(clip({-2, 5, 0, 0, 0}, {5, -2, 0, 0, 0}, {9, 9, 0, 0, 0}), 5);
    EXPECT_EQ(clip({-1, 1, 0, 0, 0}, {5, 1, 0, 0, 0}, {5, 6, 0, 0, 0}), 4);
    EXPECT_EQ(clip({-3, 2, 0, 0, 0}, {13, -2, 0, 0, 0}, {6, 14, 0, 0, 0}), 7);
    EXPECT_LE(ClipPoolCount(), 8);
    EXPECT_EQ(clip({20, 1, 0, 0, 0}, {30, 1, 0, 0, 0}, {25, 9, 0, 0, 0}), 0);
    EXPECT_EQ(clip({0, 0, 0, 0, 0}, {10, 0, 0, 0, 0}, {0, 10, 0, 0, 0}), 3); // on the bounds: inside

    // A cut vertex interpolates position, texture and each colour channel.
    const TriVertex outside = {-10, 0, 0, 0, 0x00000000u}, inside = {10, 20, 1, 2, 0xFF804020u};
    const TriVertex* cut = InterpolateAtX(outside, inside, 0);
    ASSERT_NE(cut, nullptr);
    EXPECT_FLOAT_EQ(cut->x, 0);
    EXPECT_FLOAT_EQ(cut->y, 10);
    EXPECT_FLOAT_EQ(cut->u, 0.5f);
    EXPECT_FLOAT_EQ(cut->v, 1.0f);
    EXPECT_EQ(cut->colour, 0x7F402010u);
}

TEST_F(RasterFill, StripFormsTrianglesInOrder)
{
    // Vertex colours differ per vertex, so each triangle's own interpolation shows.
    const TriVertex strip[5] = {{1, 1, 0, 0, 0xFFFF0000u},
                                {1, 11, 0, 0, 0xFF00FF00u},
                                {11, 1, 0, 0, 0xFF0000FFu},
                                {11, 11, 0, 0, 0xFFFFFFFFu},
                                {21, 1, 0, 0, 0xFF808080u}};
    GuardedBuffer<uint32_t> viaStrip(24, 14, 0), single(24, 14, 0);
    DrawSolid(viaStrip, strip, 5, viaStrip.Clip());
    const int order[3][3] = {{0, 1, 2}, {1, 3, 2}, {2, 3, 4}};
    for (const auto& t : order)
    {
        const TriVertex tri[3] = {strip[t[0]], strip[t[1]], strip[t[2]]};
        DrawSolid(single, tri, 3, single.Clip());
    }
    EXPECT_EQ(viaStrip.store, single.store);
    EXPECT_NE(viaStrip.At(15, 3), 0u); // the third triangle was drawn
}

TEST(RasterFixed, FixedFloor)
{
    EXPECT_EQ(FixedFloor(-0x8000), -0x10000);
    EXPECT_EQ(FixedFloor(0), 0);
    EXPECT_EQ(FixedFloor(0x18000), 0x10000);
    EXPECT_EQ(FixedCeil(0x10001), 0x20000);
    EXPECT_EQ(FixedCeil(-0x8000), 0);
}

} // namespace
} // namespace Lumo
