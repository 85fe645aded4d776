// System fonts: metrics from the point size, widths as summed advances, and
// the pixels drawn onto memory images and display surfaces (transparency,
// solid strokes, the shadow and bold passes, the one-pixel drop on surfaces).
#include "fonts/CoveragePainter.h"
#include "fonts/SysFont.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "graphics/DDImage.h"
#include "graphics/Graphics.h"

namespace Lumo {
namespace {

constexpr int kSize = 64;

// Draws the text with the font onto a fresh transparent memory image.
std::unique_ptr<MemoryImage> DrawOnMemory(SysFont& font, const std::string& text, int x, int y,
                                          const Color& color = Color::White)
{
    auto image = std::make_unique<MemoryImage>();
    image->Create(kSize, kSize);
    Graphics g(image.get());
    font.DrawString(&g, x, y, text, color, g.GetClipRect());
    return image;
}

uint32_t Pixel(MemoryImage& image, int x, int y)
{
    return image.GetBits()[y * image.GetWidth() + x];
}

int FirstInkedRow(MemoryImage& image, uint32_t mask)
{
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
            if ((Pixel(image, x, y) & mask) != 0)
                return y;
    return -1;
}

TEST(SysFontTest, MetricsFollowThePointSize)
{
    EXPECT_EQ(SysFont::PointsToPixels(12, 96), 16);
    EXPECT_EQ(SysFont::PointsToPixels(10, 96), 13);
    EXPECT_EQ(SysFont::PointsToPixels(-12, 96), -16);
    SysFont font("Arial Unicode MS", 12);
    ASSERT_NE(font.GetTextFont(), nullptr) << "no system font installed (fonts-dejavu-core)";
    EXPECT_EQ(font.GetPixelHeight(), 16);
    EXPECT_EQ(font.GetTextFont()->GetSpec().pixelHeight, 16);
    EXPECT_GT(font.GetAscent(), 0);
    EXPECT_GT(font.GetHeight(), font.GetAscent());
    EXPECT_EQ(font.GetDescent(), font.GetHeight() - font.GetAscent());
    EXPECT_EQ(font.GetLineSpacing(), font.GetHeight());
    EXPECT_EQ(font.GetAscentPadding(), 0);

    SysFont larger("Arial Unicode MS", 24);
    EXPECT_GT(larger.GetHeight(), font.GetHeight());
}

TEST(SysFontTest, WidthsAreSummedAdvances)
{
    SysFont font("DejaVu Sans", 14);
    EXPECT_EQ(font.GetStringWidth(""), 0);
    EXPECT_GT(font.GetCharWidth('W'), font.GetCharWidth('i'));
    EXPECT_EQ(font.GetStringWidth("AV"), font.GetCharWidth('A') + font.GetCharWidth('V'));
    EXPECT_EQ(font.GetKernedCharWidth('V', 'A'), font.GetCharWidth('V'));
    SysFont bold("DejaVu Sans", 14, true);
    EXPECT_GE(bold.GetStringWidth("Hello"), font.GetStringWidth("Hello"));
}

TEST(SysFontTest, TextOnAMemoryImageIsTransparentAroundSolidInk)
{
    SysFont font("DejaVu Sans", 36);
    auto image = DrawOnMemory(font, "Il", 4, 50);
    int solid = 0;
    for (int i = 0; i < kSize * kSize; ++i)
    {
        const uint32_t pixel = image->GetBits()[i];
        if (pixel >> 24 == 0)
            EXPECT_EQ(pixel, 0u);
        else // white ink stays white at any coverage (up to the blend's rounding)
            EXPECT_GE(std::min({(pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF}), 0xF0u) << i;
        solid += pixel == 0xFFFFFFFFu;
    }
    EXPECT_GT(solid, 20);
    EXPECT_EQ(Pixel(*image, 0, 0), 0u);
    EXPECT_EQ(Pixel(*image, kSize - 1, kSize - 1), 0u);
    // The cell's top is at y - ascent.
    EXPECT_GE(FirstInkedRow(*image, 0xFF000000u), 50 - font.GetAscent());

    // Nothing for an empty text or a Graphics without a destination.
    auto empty = DrawOnMemory(font, "", 4, 50);
    EXPECT_EQ(FirstInkedRow(*empty, 0xFF000000u), -1);
    Graphics nowhere;
    font.DrawString(&nowhere, 0, 0, "text", Color::White, Rect(0, 0, 10, 10));
}

TEST(SysFontTest, ShadowLiesOnePixelRightAndDown)
{
    SysFont plainFont("DejaVu Sans", 36);
    auto plain = DrawOnMemory(plainFont, "I", 4, 50);
    SysFont shadowFont("DejaVu Sans", 36);
    shadowFont.mDrawShadow = true;
    auto shadowed = DrawOnMemory(shadowFont, "I", 4, 50);
    int checked = 0;
    for (int y = 0; y + 1 < kSize; ++y)
        for (int x = 0; x + 1 < kSize; ++x)
            if (Pixel(*plain, x, y) == 0xFFFFFFFFu && Pixel(*plain, x + 1, y + 1) == 0)
            {
                EXPECT_EQ(Pixel(*shadowed, x + 1, y + 1), 0xFF000000u) << x << "," << y;
                ++checked;
            }
    EXPECT_GT(checked, 0);

    // A copy draws without the flags.
    std::unique_ptr<Font> copy(shadowFont.Clone());
    auto copied = DrawOnMemory(static_cast<SysFont&>(*copy), "I", 4, 50);
    EXPECT_EQ(0, std::memcmp(copied->GetBits(), plain->GetBits(), kSize * kSize * 4));
}

TEST(SysFontTest, BoldAndShadowKeepTheirLastColumnAndRow)
{
    // An underline runs to the text's last column; its shadow needs the one
    // more column and row of the off-screen image.
    SysFont font("DejaVu Sans", 20, false, false, true);
    font.mDrawShadow = true;
    const int width = font.GetStringWidth("__");
    auto image = DrawOnMemory(font, "__", 0, 30);
    int shadowRow = -1;
    for (int y = 0; y < kSize; ++y)
        if (Pixel(*image, width, y) == 0xFF000000u)
            shadowRow = y;
    EXPECT_GT(shadowRow, 30);

    SysFont plainFont("DejaVu Sans", 36);
    SysFont boldFont("DejaVu Sans", 36);
    boldFont.mSimulateBold = true;
    auto plain = DrawOnMemory(plainFont, "I", 4, 50);
    auto bold = DrawOnMemory(boldFont, "I", 4, 50);
    auto lastInked = [](MemoryImage& drawn, int y) {
        int last = -1;
        for (int x = 0; x < kSize; ++x)
            if (Pixel(drawn, x, y) >> 24 != 0)
                last = x;
        return last;
    };
    const int row = 40;
    ASSERT_GE(lastInked(*plain, row), 0);
    EXPECT_EQ(lastInked(*bold, row), lastInked(*plain, row) + 1);
}

TEST(SysFontTest, SurfaceTextStandsOnePixelLower)
{
    SysFont font("DejaVu Sans", 36);
    auto memory = DrawOnMemory(font, "I", 4, 50);
    DDImage screen;
    screen.Create(kSize, kSize);
    screen.SetScreenImage(true);
    ASSERT_TRUE(screen.LockSurface());
    Graphics g(&screen);
    g.Translate(0.5f, 0.0f);
    font.DrawString(&g, 4, 50, "I", Color(0, 255, 0), g.GetClipRect());
    EXPECT_EQ(screen.GetLockCount(), 1);
    EXPECT_TRUE(screen.GetSurface()->IsLocked());
    screen.UnlockSurface();
    EXPECT_EQ(FirstInkedRow(screen, 0x00FFFFFFu), FirstInkedRow(*memory, 0xFF000000u) + 1);
    int solid = 0;
    for (int i = 0; i < kSize * kSize; ++i)
        solid += screen.GetBits()[i] == 0xFF00FF00u;
    EXPECT_GT(solid, 20);

    // The clip rectangle limits surface text.
    DDImage clipped;
    clipped.Create(kSize, kSize);
    Graphics cg(&clipped);
    font.DrawString(&cg, 4, 50, "I", Color::White, Rect(0, 0, kSize, 30));
    EXPECT_EQ(FirstInkedRow(clipped, 0xFFFFFFFFu) >= 0, true);
    for (int y = 30; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            EXPECT_EQ(Pixel(clipped, x, y), 0u);
}

TEST(SysFontTest, CombiningTheTwoSides)
{
    using CoveragePainter::CombineSides;
    EXPECT_EQ(CombineSides(0xFFFFFF, 0x000000), 0u);
    EXPECT_EQ(CombineSides(0x123456, 0x123456), 0xFF123456u);
    // Red at half coverage: over white (255, 127, 127), over black (128, 0, 0).
    EXPECT_EQ(CombineSides(0xFF7F7F, 0x800000), 0x80FF0000u);
    // Channels without ink while another has some: no division by 0.
    EXPECT_EQ(CombineSides(0xFFFFFF, 0x000080), 0x800000FFu);
}

TEST(SysFontTest, UnknownFaceFallsBack)
{
    SysFont font("No Such Face Anywhere", 12, false, true);
    ASSERT_NE(font.GetTextFont(), nullptr);
    EXPECT_FALSE(font.GetTextFont()->GetFilePath().empty());
    EXPECT_GT(font.GetStringWidth("abc"), 0);
}

} // namespace
} // namespace Lumo
