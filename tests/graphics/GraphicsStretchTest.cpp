// DrawImageStretched and DrawImagePartStretched: nearest and bilinear
// sampling, 1:1 at the source size, clipping, empty sizes.
#include <gtest/gtest.h>

#include "graphics/Graphics.h"
#include "tests/graphics/TestImages.h"

namespace Lumo {
using namespace Test;

namespace {
constexpr uint32_t A = 0xFF000000u;
constexpr uint32_t B = 0xFFFFFFFFu;
} // namespace

TEST(GraphicsStretchTest, QuickStretchTakesTheNearestPixel)
{
    auto src = MakeImage(2, 1, {A, B});
    auto dest = MakeFilled(4, 2, 0u);
    Graphics g(dest.get());
    g.SetQuickStretch(true);
    g.DrawImageStretched(src.get(), 0, 0, 4, 2);
    for (int y = 0; y < 2; ++y)
    {
        EXPECT_EQ(PixelAt(*dest, 0, y), A);
        EXPECT_EQ(PixelAt(*dest, 1, y), A);
        EXPECT_EQ(PixelAt(*dest, 2, y), B);
        EXPECT_EQ(PixelAt(*dest, 3, y), B);
    }
}

TEST(GraphicsStretchTest, SmoothStretchInterpolatesBetweenNeighbours)
{
    auto src = MakeImage(2, 1, {A, B});
    auto dest = MakeFilled(4, 1, 0u);
    Graphics g(dest.get());
    g.DrawImageStretched(src.get(), 0, 0, 4, 1);
    // Source positions -0.25 (clamped), 0.25, 0.75, 1.25 (clamped).
    EXPECT_EQ(PixelAt(*dest, 0, 0), A);
    EXPECT_EQ(PixelAt(*dest, 1, 0), 0xFF404040u);
    EXPECT_EQ(PixelAt(*dest, 2, 0), 0xFFBFBFBFu);
    EXPECT_EQ(PixelAt(*dest, 3, 0), B);
}

TEST(GraphicsStretchTest, SmoothStretchWeighsColourByAlpha)
{
    // Transparent red next to opaque white: the red never bleeds in.
    auto src = MakeImage(2, 1, {0x00FF0000u, B});
    auto dest = MakeFilled(4, 1, 0u);
    Graphics g(dest.get());
    g.DrawImageStretched(src.get(), 0, 0, 4, 1);
    EXPECT_EQ(PixelAt(*dest, 0, 0), 0u);
    uint32_t mixed = PixelAt(*dest, 1, 0);
    EXPECT_EQ(mixed & 0x00FFFFFFu, (mixed >> 16 & 0xFF) * 0x010101u); // grey: no red cast
    EXPECT_EQ(PixelAt(*dest, 3, 0), B);
}

TEST(GraphicsStretchTest, SameSizeSamplesExactlyLikeDrawImage)
{
    auto src = MakeImage(3, 2, {0xFF102030u, 0x80405060u, 0x00FFFFFFu, 0x11223344u, 0xFEFEFEFEu, 0x01020304u});
    for (bool quick : {false, true})
    {
        auto stretched = MakeFilled(5, 4, 0xFF336699u);
        auto direct = MakeFilled(5, 4, 0xFF336699u);
        Graphics gs(stretched.get());
        Graphics gd(direct.get());
        for (Graphics* g : {&gs, &gd})
        {
            g->SetQuickStretch(quick);
            g->SetImageTinting(true);
            g->SetColor(Color(200, 100, 50, 180));
            g->Translate(1.0f, 1.0f);
        }
        gs.DrawImageStretched(src.get(), 0, 0, 3, 2);
        gd.DrawImage(src.get(), 0, 0);
        EXPECT_EQ(PixelsOf(*stretched), PixelsOf(*direct)) << "quick " << quick;
    }
}

TEST(GraphicsStretchTest, ZeroOrNegativeSizeDrawsNothing)
{
    auto src = MakeFilled(2, 2, B);
    auto dest = MakeFilled(4, 4, 0u);
    Graphics g(dest.get());
    for (bool quick : {false, true})
    {
        g.SetQuickStretch(quick);
        g.DrawImageStretched(src.get(), 0, 0, 0, 4);
        g.DrawImageStretched(src.get(), 0, 0, 4, 0);
        g.DrawImageStretched(src.get(), 2, 2, -2, 2);
        g.DrawImagePartStretched(src.get(), Rect(0, 0, 4, 4), Rect(0, 0, 0, 0));
    }
    EXPECT_EQ(CountNot(*dest, 0u), 0);
}

TEST(GraphicsStretchTest, ClippedStretchWritesOnlyInsideTheClip)
{
    // A strip of four 1-pixel cels stretched to twice its size and clipped to
    // one doubled cel, as character animations are drawn.
    auto strip = MakeImage(4, 1, {0xFF000001u, 0xFF000002u, 0xFF000003u, 0xFF000004u});
    auto dest = MakeFilled(10, 2, 0u);
    Graphics g(dest.get());
    g.SetQuickStretch(true);
    g.SetClipRect(4, 0, 2, 2);
    g.DrawImageStretched(strip.get(), 0, 0, 8, 2);
    EXPECT_EQ(PixelAt(*dest, 4, 0), 0xFF000003u);
    EXPECT_EQ(PixelAt(*dest, 5, 1), 0xFF000003u);
    EXPECT_EQ(CountNot(*dest, 0u), 4);
}

TEST(GraphicsStretchTest, PartStretchedOutsideSourceKeepsMatchingPart)
{
    auto src = MakeImage(2, 1, {0xFF000001u, 0xFF000002u});
    auto dest = MakeFilled(8, 1, 0u);
    Graphics g(dest.get());
    g.SetQuickStretch(true);
    // Source (-2, 0, 4, 1): its right half is the image; it lands on the right
    // half of the destination rectangle.
    g.DrawImagePartStretched(src.get(), Rect(0, 0, 8, 1), Rect(-2, 0, 4, 1));
    EXPECT_EQ(PixelAt(*dest, 3, 0), 0u);
    EXPECT_EQ(PixelAt(*dest, 4, 0), 0xFF000001u);
    EXPECT_EQ(PixelAt(*dest, 5, 0), 0xFF000001u);
    EXPECT_EQ(PixelAt(*dest, 6, 0), 0xFF000002u);
    EXPECT_EQ(PixelAt(*dest, 7, 0), 0xFF000002u);
}

TEST(GraphicsStretchTest, MirroredStretchReversesColumnsInsideTheClip)
{
    auto src = MakeImage(3, 1, {0xFF000001u, 0xFF000002u, 0xFF000003u});
    for (bool quick : {true, false})
    {
        auto dest = MakeFilled(7, 1, 0u);
        dest->BlitStretched(src.get(), Rect(0, 0, 6, 1), Rect(0, 0, 3, 1), Rect(1, 0, 6, 1), Color::White,
                            DRAWMODE_NORMAL, quick, true);
        EXPECT_EQ(PixelAt(*dest, 0, 0), 0u);
        EXPECT_EQ(PixelAt(*dest, 1, 0), 0xFF000003u) << quick;
        EXPECT_EQ(PixelAt(*dest, 5, 0), 0xFF000001u) << quick;
        EXPECT_EQ(PixelAt(*dest, 6, 0), 0u);
    }
    // Shrinking takes the pixel under each destination centre.
    auto wide = MakeImage(6, 1, {0xFF000001u, 0xFF000002u, 0xFF000003u, 0xFF000004u, 0xFF000005u, 0xFF000006u});
    auto small = MakeFilled(3, 1, 0u);
    small->BlitStretched(wide.get(), Rect(0, 0, 3, 1), Rect(0, 0, 6, 1), Rect(0, 0, 3, 1), Color::White,
                         DRAWMODE_NORMAL, true, true);
    EXPECT_EQ(PixelAt(*small, 0, 0), 0xFF000006u);
    EXPECT_EQ(PixelAt(*small, 1, 0), 0xFF000004u);
    EXPECT_EQ(PixelAt(*small, 2, 0), 0xFF000002u);
}

TEST(GraphicsStretchTest, StretchAppliesTintAndAdditiveMode)
{
    auto src = MakeFilled(1, 1, 0xFF808080u);
    auto screen = MakeScreen(2, 1, 0xFF101010u);
    Graphics g(screen.get());
    g.SetQuickStretch(true);
    g.SetDrawMode(DRAWMODE_ADDITIVE);
    g.SetImageTinting(true);
    g.SetColor(Color(255, 0, 255, 255));
    g.DrawImageStretched(src.get(), 0, 0, 2, 1);
    EXPECT_EQ(PixelAt(*screen, 0, 0), 0xFF901090u);
    EXPECT_EQ(PixelAt(*screen, 1, 0), 0xFF901090u);
}

} // namespace Lumo
