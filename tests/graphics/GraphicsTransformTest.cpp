// DrawImageRotated and DrawImageTransformed through the software rasteriser,
// and Image::BlitTriangles.
#include <gtest/gtest.h>

#include <numbers>

#include "graphics/Graphics.h"
#include "graphics/raster/TriangleDrawers.h"
#include "tests/graphics/TestImages.h"

namespace Lumo {
using namespace Test;

namespace {

// A w x h opaque image whose pixel (x, y) is 0xFF00XXYY.
std::unique_ptr<MemoryImage> MakeNumbered(int w, int h)
{
    std::vector<uint32_t> bits;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            bits.push_back(0xFF000000u | static_cast<uint32_t>(x << 8 | y));
    auto image = std::make_unique<MemoryImage>();
    image->SetBits(bits.data(), w, h);
    return image;
}

class GraphicsTransformTest : public ::testing::Test
{
protected:
    void SetUp() override { InitTriangleDrawers(); }
};

} // namespace

TEST_F(GraphicsTransformTest, UpsideDownIsPixelExactForEvenAndOddSizes)
{
    for (auto [w, h] : {std::pair{4, 2}, std::pair{5, 3}, std::pair{6, 7}})
    {
        auto src = MakeNumbered(w, h);
        auto dest = MakeFilled(20, 20, 0u);
        Graphics g(dest.get());
        Matrix3 flip;
        flip.m[1][1] = -1.0f;
        // Centre at (8 + w / 2, 6 + h / 2) like an image drawn at (8, 6).
        g.DrawImageTransformed(src.get(), flip, static_cast<float>(8 + w / 2), static_cast<float>(6 + h / 2));
        // Odd sizes put the corners on half pixels; the draw is snapped so it
        // covers the same pixels as DrawImage at (8, 6).
        const int left = 8;
        const int top = 6;
        int drawn = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
            {
                EXPECT_EQ(PixelAt(*dest, left + x, top + y), PixelAt(*src, x, h - 1 - y))
                    << w << "x" << h << " at " << x << "," << y;
                ++drawn;
            }
        EXPECT_EQ(CountNot(*dest, 0u), drawn) << w << "x" << h;
    }
}

TEST_F(GraphicsTransformTest, EvenSizedImageCentredLikeDrawImage)
{
    auto src = MakeNumbered(4, 2);
    auto viaMatrix = MakeFilled(12, 12, 0u);
    auto direct = MakeFilled(12, 12, 0u);
    Graphics gm(viaMatrix.get());
    Graphics gd(direct.get());
    gm.Translate(1.0f, 2.0f);
    gd.Translate(1.0f, 2.0f);
    gm.DrawImageTransformed(src.get(), Matrix3(), 5.0f, 4.0f);
    gd.DrawImage(src.get(), 3, 3);
    EXPECT_EQ(PixelsOf(*viaMatrix), PixelsOf(*direct));
}

TEST_F(GraphicsTransformTest, HalfTurnRotatesAboutTheCentre)
{
    auto src = MakeNumbered(4, 2);
    auto dest = MakeFilled(10, 10, 0u);
    Graphics g(dest.get());
    g.DrawImageRotated(src.get(), 2, 3, std::numbers::pi);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(PixelAt(*dest, 2 + x, 3 + y), PixelAt(*src, 3 - x, 1 - y)) << x << "," << y;
    EXPECT_EQ(CountNot(*dest, 0u), 8);
}

TEST_F(GraphicsTransformTest, QuarterTurnIsClockwiseOnScreen)
{
    auto src = MakeNumbered(2, 2);
    auto dest = MakeFilled(6, 6, 0u);
    Graphics g(dest.get());
    g.DrawImageRotated(src.get(), 2, 2, std::numbers::pi / 2);
    // Clockwise: the top-left pixel goes to the top-right.
    EXPECT_EQ(PixelAt(*dest, 3, 2), PixelAt(*src, 0, 0));
    EXPECT_EQ(PixelAt(*dest, 3, 3), PixelAt(*src, 1, 0));
    EXPECT_EQ(PixelAt(*dest, 2, 2), PixelAt(*src, 0, 1));
    EXPECT_EQ(PixelAt(*dest, 2, 3), PixelAt(*src, 1, 1));
}

TEST_F(GraphicsTransformTest, AdditiveModeDrawsNormallyAndTintModulates)
{
    auto src = MakeFilled(2, 2, 0xFF808080u);
    auto dest = MakeScreen(6, 6, 0xFF404040u);
    Graphics g(dest.get());
    g.SetDrawMode(DRAWMODE_ADDITIVE);
    g.DrawImageTransformed(src.get(), Matrix3(), 2.0f, 2.0f);
    EXPECT_EQ(PixelAt(*dest, 1, 1), 0xFF808080u); // replaced, not added

    g.SetImageTinting(true);
    g.SetColor(Color(255, 0, 0, 255));
    g.DrawImageTransformed(src.get(), Matrix3(), 2.0f, 2.0f);
    uint32_t p = PixelAt(*dest, 1, 1);
    EXPECT_GT(p >> 16 & 0xFF, 0x70u);
    EXPECT_EQ(p & 0xFFFFu, 0u);
}

TEST_F(GraphicsTransformTest, ClipLimitsTheDraw)
{
    auto src = MakeFilled(8, 8, 0xFFFFFFFFu);
    auto dest = MakeFilled(10, 10, 0u);
    Graphics g(dest.get());
    g.SetClipRect(2, 2, 4, 4);
    g.DrawImageRotated(src.get(), 1, 1, 0.3);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
        {
            if (!Rect(2, 2, 4, 4).Contains(x, y))
            {
                EXPECT_EQ(PixelAt(*dest, x, y), 0u) << x << "," << y;
            }
        }
    EXPECT_GT(CountNot(*dest, 0u), 0);
}

TEST_F(GraphicsTransformTest, BlitTrianglesDrawsTexturedTriangles)
{
    auto src = MakeFilled(4, 4, 0xFF00FF00u);
    auto dest = MakeFilled(10, 10, 0u);
    const TriVertex triangles[1][3] = {{{0.0f, 0.0f, 0.0f, 0.0f, 0u}, {8.0f, 0.0f, 1.0f, 0.0f, 0u},
                                        {0.0f, 8.0f, 0.0f, 1.0f, 0u}}};
    dest->BlitTriangles(src.get(), triangles, 1, Rect(0, 0, 10, 10), Color::White, DRAWMODE_NORMAL, 1.0f, 1.0f,
                        false);
    EXPECT_EQ(PixelAt(*dest, 1, 1), 0xFF00FF00u);
    EXPECT_EQ(PixelAt(*dest, 0, 0), 0u);
    EXPECT_EQ(PixelAt(*dest, 8, 8), 0u);
}

} // namespace Lumo
