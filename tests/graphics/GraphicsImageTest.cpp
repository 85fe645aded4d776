// DrawImage, DrawImagePart, DrawImageCelIndex and DrawImageMirrored against
// hand-computed pixels: blending, tinting, additive mode, clipping.
#include <gtest/gtest.h>

#include "graphics/Graphics.h"
#include "tests/graphics/TestImages.h"

namespace Lumo {
using namespace Test;

TEST(GraphicsImageTest, OpaqueImageIsCopied)
{
    auto src = MakeImage(2, 2, {0xFF010203u, 0xFF040506u, 0xFF070809u, 0xFF0A0B0Cu});
    auto dest = MakeFilled(4, 4, 0u);
    Graphics g(dest.get());
    g.DrawImage(src.get(), 1, 2);
    EXPECT_EQ(PixelAt(*dest, 1, 2), 0xFF010203u);
    EXPECT_EQ(PixelAt(*dest, 2, 2), 0xFF040506u);
    EXPECT_EQ(PixelAt(*dest, 1, 3), 0xFF070809u);
    EXPECT_EQ(PixelAt(*dest, 2, 3), 0xFF0A0B0Cu);
    EXPECT_EQ(CountNot(*dest, 0u), 4);
}

TEST(GraphicsImageTest, PerPixelAlphaBlendsTransparentIsSkipped)
{
    // Pixels: transparent, alpha 128 red, opaque green.
    auto src = MakeImage(3, 1, {0x00FFFFFFu, 0x80FF0000u, 0xFF00FF00u});
    auto screen = MakeScreen(3, 1, 0xFF0000FFu);
    Graphics g(screen.get());
    g.DrawImage(src.get(), 0, 0);
    EXPECT_EQ(PixelAt(*screen, 0, 0), 0xFF0000FFu);
    EXPECT_EQ(PixelAt(*screen, 1, 0), 0xFF7F007Eu);
    EXPECT_EQ(PixelAt(*screen, 2, 0), 0xFF00FF00u);
}

TEST(GraphicsImageTest, DrawingIntoABlankImageKeepsTransparency)
{
    auto src = MakeImage(3, 1, {0x00FFFFFFu, 0x80FFFFFFu, 0xFFFFFFFFu});
    auto blank = MakeFilled(3, 1, 0u);
    Graphics g(blank.get());
    g.DrawImage(src.get(), 0, 0);
    EXPECT_EQ(PixelAt(*blank, 0, 0), 0u);
    // outA = 128, channel (127 << 8) / 128 = 254, alpha 127.
    EXPECT_EQ(PixelAt(*blank, 1, 0), 0x7FFEFEFEu);
    EXPECT_EQ(PixelAt(*blank, 2, 0), 0xFFFFFFFFu);
    blank->CheckAlpha();
    EXPECT_TRUE(blank->mHasTrans);
    EXPECT_TRUE(blank->mHasAlpha);
}

TEST(GraphicsImageTest, TintingMultipliesEveryChannelAlphaIncluded)
{
    auto src = MakeImage(1, 1, {0xFFC86432u}); // 200, 100, 50
    auto screen = MakeScreen(2, 1, 0xFF000000u);
    Graphics g(screen.get());
    g.SetColor(Color(128, 255, 0));
    g.DrawImage(src.get(), 0, 0); // tinting off: drawn as it is
    EXPECT_EQ(PixelAt(*screen, 0, 0), 0xFFC86432u);
    g.SetImageTinting(true);
    g.DrawImage(src.get(), 0, 0);
    // (200 * 128 + 255) >> 8 = 100, (100 * 255 + 255) >> 8 = 100, 0.
    EXPECT_EQ(PixelAt(*screen, 0, 0), 0xFF646400u);
    // With alpha 128: the source alpha becomes 128, then blends over black.
    g.SetColor(Color(255, 255, 255, 128));
    g.DrawImage(src.get(), 1, 0);
    EXPECT_EQ(PixelAt(*screen, 1, 0), 0xFF643219u);
    // Opaque white tint draws the source exactly.
    g.SetColor(Color::White);
    g.DrawImage(src.get(), 1, 0);
    EXPECT_EQ(PixelAt(*screen, 1, 0), 0xFFC86432u);
}

TEST(GraphicsImageTest, AdditiveImageAddsByItsAlpha)
{
    auto src = MakeImage(2, 1, {0xFF808080u, 0x80FF0000u});
    auto screen = MakeScreen(2, 1, 0xFF909090u);
    Graphics g(screen.get());
    g.SetDrawMode(DRAWMODE_ADDITIVE);
    g.DrawImage(src.get(), 0, 0);
    EXPECT_EQ(PixelAt(*screen, 0, 0), 0xFFFFFFFFu); // 0x90 + 0x80 saturates
    EXPECT_EQ(PixelAt(*screen, 1, 0), 0xFFFF9090u); // 0x90 + 128
}

TEST(GraphicsImageTest, ClipAndDestinationEdgesCutTheImage)
{
    auto src = MakeImage(3, 3, {1u | 0xFF000000u, 2u | 0xFF000000u, 3u | 0xFF000000u, 4u | 0xFF000000u,
                                5u | 0xFF000000u, 6u | 0xFF000000u, 7u | 0xFF000000u, 8u | 0xFF000000u,
                                9u | 0xFF000000u});
    auto dest = MakeFilled(4, 4, 0u);
    Graphics g(dest.get());
    g.DrawImage(src.get(), -1, -1); // top-left corner outside the destination
    EXPECT_EQ(PixelAt(*dest, 0, 0), 0xFF000005u);
    EXPECT_EQ(PixelAt(*dest, 1, 1), 0xFF000009u);
    EXPECT_EQ(CountNot(*dest, 0u), 4);

    auto clipped = MakeFilled(4, 4, 0u);
    Graphics c(clipped.get());
    c.SetClipRect(2, 2, 1, 1);
    c.DrawImage(src.get(), 1, 1);
    EXPECT_EQ(PixelAt(*clipped, 2, 2), 0xFF000005u);
    EXPECT_EQ(CountNot(*clipped, 0u), 1);
}

TEST(GraphicsImageTest, SourceRectangleOutsideTheImageIsClipped)
{
    auto src = MakeImage(2, 2, {0xFF000001u, 0xFF000002u, 0xFF000003u, 0xFF000004u});
    auto dest = MakeFilled(4, 4, 0u);
    Graphics g(dest.get());
    g.DrawImagePart(src.get(), 0, 0, Rect(-1, -1, 3, 3));
    EXPECT_EQ(PixelAt(*dest, 1, 1), 0xFF000001u);
    EXPECT_EQ(PixelAt(*dest, 2, 2), 0xFF000004u);
    EXPECT_EQ(CountNot(*dest, 0u), 4);
    g.DrawImagePart(src.get(), 0, 0, Rect(5, 5, 2, 2)); // wholly outside
    g.DrawImagePart(src.get(), 0, 0, Rect(0, 0, 0, 2)); // empty
    EXPECT_EQ(CountNot(*dest, 0u), 4);
}

TEST(GraphicsImageTest, CelIndexPicksColumnAndRowOutsideDrawsNothing)
{
    // 4 x 2 pixels, 2 columns x 2 rows of 2 x 1 cels; pixel value = cel number + 1.
    auto src = MakeImage(4, 2, {0xFF000001u, 0xFF000001u, 0xFF000002u, 0xFF000002u, 0xFF000003u, 0xFF000003u,
                                0xFF000004u, 0xFF000004u});
    src->mCelColumns = 2;
    src->mCelRows = 2;
    EXPECT_EQ(src->GetCelWidth(), 2);
    EXPECT_EQ(src->GetCelHeight(), 1);
    auto dest = MakeFilled(3, 1, 0u);
    Graphics g(dest.get());
    for (int n = 0; n < 4; ++n)
    {
        g.DrawImageCelIndex(src.get(), 1, 0, n);
        EXPECT_EQ(PixelAt(*dest, 1, 0), 0xFF000000u | static_cast<uint32_t>(n + 1));
        EXPECT_EQ(PixelAt(*dest, 2, 0), 0xFF000000u | static_cast<uint32_t>(n + 1));
    }
    auto untouched = MakeFilled(3, 1, 0u);
    Graphics u(untouched.get());
    for (int n : {-1, -2, -3, 4, 100})
        u.DrawImageCelIndex(src.get(), 0, 0, n);
    u.DrawImageCel(src.get(), 0, 0, 2, 0);
    u.DrawImageCel(src.get(), 0, 0, 0, -1);
    EXPECT_EQ(CountNot(*untouched, 0u), 0);
}

TEST(GraphicsImageTest, MirroredReversesColumnsAndClipsTheRightPart)
{
    auto src = MakeImage(3, 1, {0xFF000001u, 0xFF000002u, 0x80000080u});
    auto dest = MakeFilled(4, 1, 0xFF000000u);
    Graphics g(dest.get());
    g.DrawImageMirrored(src.get(), 0, 0, true);
    // Blue 128 at alpha 128 over opaque black: ((128 * 128) >> 8 << 8) >> 8 = 64.
    EXPECT_EQ(PixelAt(*dest, 0, 0), 0xFF000040u);
    EXPECT_EQ(PixelAt(*dest, 1, 0), 0xFF000002u);
    EXPECT_EQ(PixelAt(*dest, 2, 0), 0xFF000001u);

    // Mirrored with its left part cut by the clip: the visible columns show
    // the left end of the source.
    auto cut = MakeFilled(4, 1, 0u);
    Graphics c(cut.get());
    c.SetClipRect(1, 0, 3, 1);
    c.DrawImageMirrored(src.get(), 0, 0, true);
    EXPECT_EQ(PixelAt(*cut, 0, 0), 0u);
    EXPECT_EQ(PixelAt(*cut, 1, 0), 0xFF000002u);
    EXPECT_EQ(PixelAt(*cut, 2, 0), 0xFF000001u);

    auto plain = MakeFilled(3, 1, 0u);
    Graphics p(plain.get());
    p.DrawImageMirrored(src.get(), 0, 0, false);
    EXPECT_EQ(PixelAt(*plain, 0, 0), 0xFF000001u);
}

TEST(GraphicsImageTest, PlaceholderAndNullDrawNothing)
{
    Graphics placeholder;
    auto src = MakeFilled(2, 2, 0xFFFFFFFFu);
    placeholder.DrawImage(src.get(), 0, 0);
    placeholder.FillRect(0, 0, 10, 10);
    EXPECT_TRUE(placeholder.GetClipRect().IsEmpty());
    EXPECT_TRUE(placeholder.IsPlaceholder());
    EXPECT_TRUE(Graphics(nullptr).IsPlaceholder());

    auto dest = MakeFilled(2, 2, 0u);
    Graphics g(dest.get());
    EXPECT_FALSE(g.IsPlaceholder());
    g.DrawImage(nullptr, 0, 0);
    Image noPixels;
    g.DrawImage(&noPixels, 0, 0);
    EXPECT_EQ(CountNot(*dest, 0u), 0);
}

TEST(GraphicsImageTest, DrawingAPalettisedImageRebuildsItsPixels)
{
    auto src = MakeImage(2, 1, {0xFF112233u, 0x80445566u});
    ASSERT_TRUE(src->Palletize());
    auto dest = MakeFilled(2, 1, 0u);
    Graphics g(dest.get());
    g.DrawImage(src.get(), 0, 0);
    EXPECT_EQ(PixelAt(*dest, 0, 0), 0xFF112233u);
    EXPECT_NE(PixelAt(*dest, 1, 0), 0u);
}

} // namespace Lumo
