// FillRect and FillPolygon against hand-computed pixels.
#include <gtest/gtest.h>

#include "graphics/Graphics.h"
#include "tests/graphics/TestImages.h"

namespace Lumo {
using namespace Test;

TEST(GraphicsFillTest, OpaqueFillCoversTheRectangleOnly)
{
    auto image = MakeFilled(4, 3, 0u);
    Graphics g(image.get());
    g.SetColor(Color(10, 20, 30));
    g.FillRect(1, 1, 2, 5);
    EXPECT_EQ(PixelAt(*image, 1, 1), 0xFF0A141Eu);
    EXPECT_EQ(PixelAt(*image, 2, 2), 0xFF0A141Eu);
    EXPECT_EQ(PixelAt(*image, 0, 1), 0u);
    EXPECT_EQ(PixelAt(*image, 3, 2), 0u);
    EXPECT_EQ(PixelAt(*image, 1, 0), 0u);
    EXPECT_EQ(CountNot(*image, 0u), 4);
}

TEST(GraphicsFillTest, BlendOverMemoryImageCompositesOverItsAlpha)
{
    // Red at alpha 128 over opaque blue: inv 128, outA 256;
    // red (127 << 8) / 256 = 127, blue (254 * 128) / 256 = 127, alpha 255.
    auto image = MakeImage(2, 1, {0xFF0000FFu, 0x00000000u});
    Graphics g(image.get());
    g.SetColor(Color(255, 0, 0, 128));
    g.FillRect(0, 0, 2, 1);
    EXPECT_EQ(PixelAt(*image, 0, 0), 0xFF7F007Fu);
    // Over a transparent pixel: outA 128, red (127 << 8) / 128 = 254, alpha 127.
    EXPECT_EQ(PixelAt(*image, 1, 0), 0x7FFE0000u);
}

TEST(GraphicsFillTest, BlendOverScreenIgnoresItsAlpha)
{
    // 0x888: red (255 * 128) >> 8 = 127; blue (255 * 127) >> 8 = 126.
    auto screen = MakeScreen(2, 1, 0x000000FFu);
    Graphics g(screen.get());
    g.SetColor(Color(255, 0, 0, 128));
    g.FillRect(0, 0, 1, 1);
    EXPECT_EQ(PixelAt(*screen, 0, 0), 0xFF7F007Eu);
    EXPECT_EQ(PixelAt(*screen, 1, 0), 0x000000FFu);
}

TEST(GraphicsFillTest, AdditiveAddsWeightedAndSaturates)
{
    auto screen = MakeScreen(2, 1, 0xFF404040u);
    Graphics g(screen.get());
    g.SetDrawMode(DRAWMODE_ADDITIVE);
    g.SetColor(Color(100, 20, 250));
    g.FillRect(0, 0, 1, 1);
    EXPECT_EQ(PixelAt(*screen, 0, 0), 0xFFA454FFu);
    // Alpha 128: (100 * 128 + 255) >> 8 = 50, (20 * 128 + 255) >> 8 = 10, (250 * 128 + 255) >> 8 = 125.
    g.SetColor(Color(100, 20, 250, 128));
    g.FillRect(1, 0, 1, 1);
    EXPECT_EQ(PixelAt(*screen, 1, 0), 0xFF724ABDu);
}

TEST(GraphicsFillTest, ZeroAlphaDrawsNothing)
{
    auto image = MakeFilled(2, 2, 0xFF112233u);
    Graphics g(image.get());
    g.SetColor(Color(255, 255, 255, 0));
    g.FillRect(0, 0, 2, 2);
    g.SetDrawMode(DRAWMODE_ADDITIVE);
    g.FillRect(0, 0, 2, 2);
    EXPECT_EQ(CountNot(*image, 0xFF112233u), 0);
}

TEST(GraphicsFillTest, ClipIsTranslatedAndKeptInsideTheImage)
{
    auto image = MakeFilled(6, 6, 0u);
    Graphics g(image.get());
    g.Translate(2.0f, 1.0f);
    g.SetClipRect(0, 0, 3, 3);
    EXPECT_EQ(g.GetClipRect(), Rect(2, 1, 3, 3));
    g.SetColor(Color::White);
    g.FillRect(-5, -5, 100, 100);
    EXPECT_EQ(CountNot(*image, 0u), 9);
    EXPECT_EQ(PixelAt(*image, 2, 1), 0xFFFFFFFFu);
    EXPECT_EQ(PixelAt(*image, 4, 3), 0xFFFFFFFFu);
    EXPECT_EQ(PixelAt(*image, 5, 3), 0u);

    g.SetClipRect(-10, -10, 100, 100);
    EXPECT_EQ(g.GetClipRect(), Rect(0, 0, 6, 6));
    g.ClipRect(1, 1, 2, 2); // narrows, translated
    EXPECT_EQ(g.GetClipRect(), Rect(3, 2, 2, 2));
}

TEST(GraphicsFillTest, HugeRectanglesAreClippedWithoutOverflow)
{
    auto image = MakeFilled(3, 3, 0u);
    Graphics g(image.get());
    g.SetColor(Color::White);
    g.FillRect(1, 1, 0x7FFFFFFF, 0x7FFFFFFF);
    g.FillRect(-0x7FFFFFFF, -0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF);
    EXPECT_EQ(CountNot(*image, 0u), 4);
    auto src = MakeFilled(2, 2, 0xFF0000FFu);
    g.SetQuickStretch(true);
    g.DrawImageStretched(src.get(), 2, 2, 0x7FFFFFF0, 0x7FFFFFF0);
    EXPECT_EQ(PixelAt(*image, 2, 2), 0xFF0000FFu);
}

TEST(GraphicsFillTest, TranslationAppliesToEveryCall)
{
    auto image = MakeFilled(4, 4, 0u);
    Graphics g(image.get());
    g.Translate(1.0f, 2.0f);
    g.SetColor(Color(1, 2, 3));
    g.FillRect(0, 0, 1, 1);
    EXPECT_EQ(PixelAt(*image, 1, 2), 0xFF010203u);
    EXPECT_EQ(CountNot(*image, 0u), 1);
}

TEST(GraphicsFillTest, PushAndPopRestoreTheState)
{
    auto image = MakeFilled(4, 4, 0u);
    Graphics g(image.get());
    g.PushState();
    g.Translate(3.0f, 3.0f);
    g.SetColor(Color(1, 1, 1));
    g.SetClipRect(0, 0, 1, 1);
    g.PopState();
    EXPECT_EQ(g.GetTransX(), 0.0f);
    EXPECT_EQ(g.GetColor(), Color::White);
    EXPECT_EQ(g.GetClipRect(), Rect(0, 0, 4, 4));
}

TEST(GraphicsFillTest, PolygonFillsPixelsWhoseCentreIsInside)
{
    auto image = MakeFilled(6, 6, 0u);
    Graphics g(image.get());
    g.SetColor(Color::White);
    const Point triangle[3] = {Point(0, 0), Point(4, 0), Point(0, 4)};
    g.FillPolygon(triangle, 3);
    // Row centres 0.5, 1.5, 2.5, 3.5 meet the long edge at 3.5, 2.5, 1.5, 0.5.
    const int expectedRowWidths[6] = {3, 2, 1, 0, 0, 0};
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(PixelAt(*image, x, y), x < expectedRowWidths[y] ? 0xFFFFFFFFu : 0u) << x << "," << y;
}

TEST(GraphicsFillTest, PolygonUsesModeClipAndTranslation)
{
    auto screen = MakeScreen(8, 4, 0xFF101010u);
    Graphics g(screen.get());
    g.Translate(2.0f, 0.0f);
    g.SetClipRect(0, 0, 3, 4);
    g.SetDrawMode(DRAWMODE_ADDITIVE);
    g.SetColor(Color(16, 16, 16));
    const Point square[4] = {Point(-4, 0), Point(20, 0), Point(20, 2), Point(-4, 2)};
    g.FillPolygon(square, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
        {
            bool inside = x >= 2 && x < 5 && y < 2;
            EXPECT_EQ(PixelAt(*screen, x, y), inside ? 0xFF202020u : 0xFF101010u) << x << "," << y;
        }
}

} // namespace Lumo
