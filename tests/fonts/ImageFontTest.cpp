// Image fonts: active layers by tags and point size, measuring with kerning,
// drawing in draw order through a recording Graphics, rescaling, the pool
// limit, copies, and a captured frame.
#include "fonts/FontData.h"
#include "fonts/FontScale.h"
#include "fonts/GlyphDrawQueue.h"
#include "fonts/ImageFont.h"

#include <gtest/gtest.h>

#include "graphics/DDImage.h"
#include "tests/fonts/FontTestSupport.h"

namespace Lumo {
namespace {

using namespace FontTest;

// Glyph 'a' is 8 x 10 red, 'b' 6 x 10 green, side by side in a 20 x 10 image.
constexpr const char* kTwoLayerFont =
    "SetDefaultPointSize 28;"
    "CreateLayer Main; LayerSetImage Main glyphs.png; LayerSetPointSize Main 28;"
    "LayerSetImageMap Main ('a' 'b') ((0 0 8 10) (8 0 6 10)); LayerSetCharWidths Main ('a' 'b') (8 6);"
    "LayerSetAscent Main 8; LayerSetSpacing Main 1; LayerSetKerningPairs Main ('ab') (-2);"
    "CreateLayerFrom Shadow Main; LayerSetOffset Shadow (1 1); LayerSetBaseOrder Shadow -1;"
    "LayerSetColorMult Shadow (0 0 0 0.5); LayerRequireTags Shadow ('shadow');";

class ImageFontTest : public ::testing::Test
{
protected:
    std::unique_ptr<ImageFont> Make(const std::string& description)
    {
        WritePng(folder, "glyphs.png", 20, 10, [](int x, int) { return x < 8 ? 0xFFFF0000u : x < 14 ? 0xFF00FF00u : 0u; });
        return std::make_unique<ImageFont>(&app, folder.Write("font.txt", description));
    }

    ScratchFolder folder;
    TestApp app;
    MemoryImage canvas;
};

TEST_F(ImageFontTest, MeasuresWithKerningAndSpacing)
{
    auto font = Make(kTwoLayerFont);
    ASSERT_TRUE(font->GetFontData()->IsLoaded()) << (MessageTexts().empty() ? "" : MessageTexts()[0]);
    EXPECT_EQ(font->GetPointSize(), 28);
    EXPECT_EQ(font->GetActiveLayers().size(), 1u); // the shadow layer needs its tag
    EXPECT_EQ(font->GetAscent(), 8);
    EXPECT_EQ(font->GetHeight(), 10);
    EXPECT_EQ(font->GetCharWidth('a'), 8);
    EXPECT_EQ(font->GetKernedCharWidth('b', 'a'), 6 - 2 + 1);
    EXPECT_EQ(font->GetStringWidth("ab"), 13);
    EXPECT_EQ(font->GetStringWidth(""), 0);

    canvas.Create(64, 32);
    RecordingGraphics g(&canvas);
    int drawnWidth = -1;
    font->RenderString(&g, 0, 20, "ab", Color::White, Rect(), nullptr, &drawnWidth);
    EXPECT_EQ(drawnWidth, font->GetStringWidth("ab"));
}

TEST_F(ImageFontTest, TaggedLayerDrawsFirstForTheWholeString)
{
    auto font = Make(kTwoLayerFont);
    EXPECT_TRUE(font->AddTag("shadow"));
    EXPECT_TRUE(font->HasTag("SHADOW"));
    EXPECT_EQ(font->GetStringWidth("ab"), 13);
    EXPECT_EQ(font->GetActiveLayers().size(), 2u);

    canvas.Create(64, 32);
    RecordingGraphics g(&canvas);
    g.SetColor(Color(1, 2, 3, 4));
    std::vector<Rect> rects;
    font->RenderString(&g, 10, 20, "ab", Color::White, Rect(), &rects, nullptr);
    ASSERT_EQ(g.blits.size(), 4u);
    const Color shadow(0, 0, 0, 127);
    EXPECT_EQ(g.blits[0].x, 11);
    EXPECT_EQ(g.blits[0].y, 13);
    EXPECT_EQ(g.blits[0].color, shadow);
    EXPECT_EQ(g.blits[1].x, 11 + 7);
    EXPECT_EQ(g.blits[1].color, shadow);
    EXPECT_EQ(g.blits[2].x, 10);
    EXPECT_EQ(g.blits[2].y, 12);
    EXPECT_EQ(g.blits[2].source, Rect(0, 0, 8, 10));
    EXPECT_EQ(g.blits[2].color, Color::White);
    EXPECT_EQ(g.blits[3].x, 17);
    EXPECT_EQ(g.blits[3].source, Rect(8, 0, 6, 10));
    for (const GlyphBlit& blit : g.blits)
        EXPECT_TRUE(blit.tinting);
    EXPECT_FALSE(g.GetImageTinting());
    EXPECT_EQ(g.GetColor(), Color(1, 2, 3, 4));
    ASSERT_EQ(rects.size(), 4u); // in queuing order: per character, per layer
    EXPECT_EQ(rects[0], Rect(10, 12, 8, 10));
    EXPECT_EQ(rects[1], Rect(11, 13, 8, 10));

    EXPECT_TRUE(font->RemoveTag("Shadow"));
    EXPECT_FALSE(font->RemoveTag("Shadow"));
    EXPECT_EQ(font->GetStringWidth("a"), 8);
    EXPECT_EQ(font->GetActiveLayers().size(), 1u);
}

TEST_F(ImageFontTest, RescalingHalvesMetricsOnce)
{
    auto font = Make(kTwoLayerFont);
    font->SetPointSize(14);
    EXPECT_EQ(font->GetStringWidth("ab"), 4 + 3 + 0); // the kerning -1 halves to 0
    EXPECT_EQ(font->GetAscent(), 4);
    EXPECT_EQ(font->GetHeight(), 5);
    ASSERT_EQ(font->GetActiveLayers().size(), 1u);
    const ActiveFontLayer& active = font->GetActiveLayers().front();
    EXPECT_TRUE(active.OwnsImage());
    Image* scaled = active.GetImage();
    ASSERT_NE(scaled, nullptr);
    EXPECT_EQ(scaled->GetWidth(), 7);
    EXPECT_EQ(scaled->GetHeight(), 5);
    EXPECT_EQ(active.mScaledCharImageRects['b'], Rect(4, 0, 3, 5));
    EXPECT_EQ(font->GetCharWidth('b'), 3);
    EXPECT_EQ(font->GetActiveLayers().front().GetImage(), scaled); // not rebuilt

    // A copy owns its own rescaled image and outlives the original.
    std::unique_ptr<Font> copy(font->Clone());
    font.reset();
    canvas.Create(32, 16);
    Graphics g(&canvas);
    copy->DrawString(&g, 0, 10, "ab", Color::White, Rect());
    EXPECT_EQ(canvas.GetBits()[8 * 32 + 1], 0xFFFF0000u);

    // Huge and zero scales do not break anything.
    auto other = Make(kTwoLayerFont);
    other->SetScale(1e12);
    EXPECT_GE(other->GetStringWidth("ab"), 0);
    other->SetScale(0.0);
    EXPECT_EQ(other->GetStringWidth("ab"), 0);
    other->DrawString(&g, 0, 10, "ab", Color::White, Rect());
}

// Pixels of each active layer's image that the font owns (0 for a layer
// drawn from its own image).
std::vector<long long> OwnedPixels(const ImageFont& font)
{
    std::vector<long long> pixels;
    for (const ActiveFontLayer& active : font.GetActiveLayers())
        pixels.push_back(active.OwnsImage() ? static_cast<long long>(active.GetImage()->GetWidth()) *
                                                  active.GetImage()->GetHeight()
                                            : 0);
    return pixels;
}

TEST_F(ImageFontTest, RescaledLayersShareOneImageBudget)
{
    auto font = Make("SetDefaultPointSize 28; CreateLayer L1; LayerSetImage L1 glyphs.png; LayerSetPointSize L1 28;"
                     "LayerSetImageMap L1 ('a' 'b') ((0 0 8 10) (8 0 6 10)); LayerSetCharWidths L1 ('a' 'b') (8 6);"
                     "CreateLayerFrom L2 L1; CreateLayerFrom L3 L1;");
    ASSERT_TRUE(font->GetFontData()->IsLoaded()) << (MessageTexts().empty() ? "" : MessageTexts()[0]);
    EXPECT_EQ(OwnedPixels(*font), (std::vector<long long>{0, 0, 0})); // drawn at their own size

    // Eighty times larger a layer's image is 1120 x 800: one fits the budget,
    // the others are measured but get no image.
    static_assert(2 * 1120 * 800 > FontScale::kMaxFontImagePixels && 1120 * 800 <= FontScale::kMaxFontImagePixels);
    font->SetScale(80.0);
    EXPECT_EQ(font->GetStringWidth("ab"), (8 + 6) * 80);
    EXPECT_EQ(font->GetHeight(), 800);
    EXPECT_EQ(OwnedPixels(*font), (std::vector<long long>{1120 * 800, 0, 0}));
    canvas.Create(64, 32);
    RecordingGraphics g(&canvas);
    font->DrawString(&g, 0, 20, "ab", Color::White, Rect());
    EXPECT_EQ(g.blits.size(), 6u);

    // A copy holds what the original holds, no more.
    std::unique_ptr<Font> copy(font->Clone());
    EXPECT_EQ(OwnedPixels(static_cast<ImageFont&>(*copy)), OwnedPixels(*font));

    // At a size where all three fit, all three get their images again.
    font->SetScale(40.0);
    EXPECT_EQ(font->GetStringWidth("ab"), (8 + 6) * 40);
    EXPECT_EQ(OwnedPixels(*font), (std::vector<long long>{560 * 400, 560 * 400, 560 * 400}));
}

#ifdef LUMO_GAME_ASSETS_DIR
TEST_F(ImageFontTest, GameFontLoadsAndFitsTheBudgetAtFourTimesItsSize)
{
    ImageFont font(&app, std::string(LUMO_GAME_ASSETS_DIR) + "/images/Tumbrix28.txt");
    ASSERT_TRUE(font.GetFontData()->IsLoaded()) << (MessageTexts().empty() ? "" : MessageTexts()[0]);
    EXPECT_TRUE(MessageTexts().empty());
    EXPECT_EQ(OwnedPixels(font), (std::vector<long long>{0})); // drawn at its own size
    const int height = font.GetHeight();
    const int width = font.GetStringWidth("Tumbrix");
    EXPECT_GT(width, 0);

    font.SetScale(4.0);
    EXPECT_EQ(font.GetStringWidth("Tumbrix"), 4 * width);
    EXPECT_EQ(font.GetHeight(), 4 * height);
    const std::vector<long long> pixels = OwnedPixels(font);
    ASSERT_EQ(pixels.size(), 1u);
    EXPECT_GT(pixels[0], 0);
    EXPECT_LE(pixels[0], FontScale::kMaxFontImagePixels);
}
#endif

TEST_F(ImageFontTest, DrawOrderBucketsAndDrawModes)
{
    EXPECT_EQ(GlyphDrawQueue::BucketFor(-128), 0);
    EXPECT_EQ(GlyphDrawQueue::BucketFor(-1000), 0);
    EXPECT_EQ(GlyphDrawQueue::BucketFor(127), 255);
    EXPECT_EQ(GlyphDrawQueue::BucketFor(0), 128);

    auto font = Make("CreateLayer Top; LayerSetImage Top glyphs.png; LayerSetImageMap Top ('a') ((0 0 8 10));"
                     "LayerSetBaseOrder Top 300; LayerSetDrawMode Top 0;"
                     "CreateLayerFrom Bottom Top; LayerSetBaseOrder Bottom -128; LayerSetCharOrders Bottom ('a') (0);"
                     "LayerSetColorAdd Bottom (1 1 1 1); LayerSetDrawMode Bottom 1;"
                     "CreateLayerFrom Plain Top; LayerSetBaseOrder Plain 0;");
    // Plain keeps Top's draw mode 0; make one layer leave the mode alone.
    font->GetFontData()->mFontLayerMap.at("PLAIN")->mDrawMode = -1;
    canvas.Create(16, 16);
    RecordingGraphics g(&canvas);
    g.SetDrawMode(DRAWMODE_ADDITIVE);
    font->DrawString(&g, 0, 10, "a", Color(10, 20, 30, 40), Rect());
    ASSERT_EQ(g.blits.size(), 3u);
    EXPECT_EQ(g.blits[0].mode, DRAWMODE_ADDITIVE);        // Bottom: its own mode 1
    EXPECT_EQ(g.blits[0].color, Color(255, 255, 255, 255)); // the add saturates
    EXPECT_EQ(g.blits[1].mode, DRAWMODE_ADDITIVE);        // Plain: the caller's mode
    EXPECT_EQ(g.blits[1].color, Color(10, 20, 30, 40));
    EXPECT_EQ(g.blits[2].mode, DRAWMODE_NORMAL);          // Top: mode 0, bucket 255
    EXPECT_EQ(g.GetDrawMode(), DRAWMODE_ADDITIVE);
}

TEST_F(ImageFontTest, PoolLimitStopsQueuing)
{
    auto font = Make(kTwoLayerFont);
    font->AddTag("shadow");
    canvas.Create(8, 8);
    RecordingGraphics g(&canvas);
    int width = 0;
    font->RenderString(&g, 0, 0, std::string(2049, 'a'), Color::White, Rect(), nullptr, &width);
    EXPECT_EQ(g.blits.size(), static_cast<size_t>(GlyphDrawQueue::kPoolSize));
    EXPECT_EQ(width, 2048 * 9); // each 'a' before another 'a' advances 8 + spacing 1
}

TEST_F(ImageFontTest, FailedDescriptionMeasuresAndDrawsNothing)
{
    auto font = Make("CreateLayer Main; LayerSetImage Main nowhere.png;");
    EXPECT_FALSE(font->GetFontData()->IsLoaded());
    EXPECT_EQ(font->GetStringWidth("abc"), 0);
    EXPECT_EQ(font->GetHeight(), 0);
    canvas.Create(8, 8);
    RecordingGraphics g(&canvas);
    int width = -1;
    font->RenderString(&g, 0, 0, "abc", Color::White, Rect(), nullptr, &width);
    EXPECT_EQ(width, 0);
    EXPECT_TRUE(g.blits.empty());

    ImageFont missing(&app, folder.File("no-such-file.txt"));
    EXPECT_FALSE(missing.GetFontData()->IsLoaded());
    EXPECT_EQ(missing.GetDefineText("x"), "");
}

TEST_F(ImageFontTest, TextShowsInACapturedFrame)
{
    auto font = Make(kTwoLayerFont + std::string("Define Greeting ('hello', (1 2));"));
    EXPECT_EQ(font->GetDefineText("greeting"), "(hello, (1, 2))");
    DDImage screen;
    screen.Create(40, 20);
    screen.SetScreenImage(true);
    Graphics g(&screen);
    g.SetFont(font.get());
    g.SetColor(Color::White);
    g.DrawString("ab", 5, 15);
    // 'a' covers columns 5..12 and rows 7..16; 'b' follows at 5 + 8 - 2 + 1 = 12, over a's last column.
    const uint32_t* pixels = screen.GetBits();
    EXPECT_EQ(pixels[10 * 40 + 5], 0xFFFF0000u);
    EXPECT_EQ(pixels[10 * 40 + 11], 0xFFFF0000u);
    EXPECT_EQ(pixels[10 * 40 + 12], 0xFF00FF00u);
    EXPECT_EQ(pixels[16 * 40 + 17], 0xFF00FF00u);
    EXPECT_EQ(pixels[10 * 40 + 18] & 0xFFFFFFu, 0u);
    EXPECT_EQ(pixels[6 * 40 + 5] & 0xFFFFFFu, 0u);
}

TEST_F(ImageFontTest, MetricsFontKeepsItsImage)
{
    auto image = std::make_shared<MemoryImage>();
    image->Create(6, 4);
    for (int i = 0; i < 24; ++i)
        image->GetBits()[i] = 0xFF0000FFu;
    auto font = std::make_unique<ImageFont>(image, folder.Write("m.txt", "3 4\nx 6"));
    ASSERT_TRUE(font->GetFontData()->IsLoaded());
    std::unique_ptr<Font> reference(font->Clone());
    font.reset();
    image.reset();
    EXPECT_EQ(reference->GetStringWidth("xX"), 12);
    canvas.Create(16, 8);
    Graphics g(&canvas);
    reference->DrawString(&g, 1, 4, "X", Color::White, Rect());
    EXPECT_EQ(canvas.GetBits()[0 * 16 + 1], 0xFF0000FFu);
}

} // namespace
} // namespace Lumo
