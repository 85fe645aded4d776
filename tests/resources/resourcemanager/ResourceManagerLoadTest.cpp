// Loading groups through a headless application: images with their settings
// and alpha, sounds through a fake sound manager, system, image and
// referenced fonts; lookups, unloading and loading again.
#include "resources/ResourceManager.h"

#include <gtest/gtest.h>

#include "fonts/FontData.h"
#include "fonts/ImageFont.h"
#include "fonts/SysFont.h"
#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"
#include "tests/resources/resourcemanager/ResourceTestSupport.h"

namespace Lumo {
namespace {

using namespace ResourceTest;

// Glyphs 'a' (4 wide) and 'b' (6 wide) side by side in a 10 x 8 image.
constexpr const char* kMetrics = "3 6\na 4\nb 6\n";
constexpr const char* kDescription = "CreateLayer Main; LayerSetImage Main glyphs.png;"
                                     "LayerSetImageMap Main ('a') ((0 0 4 8)); LayerSetCharWidths Main ('a') (4);"
                                     "LayerSetAscent Main 6; CreateLayerFrom Glow Main; LayerRequireTags Glow ('glow');";

class ResourceManagerLoadTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app.ServeImage("logo.png", 8, 4);
        app.ServeImage("strip.png", 6, 2, [](int x, int) { return 0xFF000000u | static_cast<uint32_t>(x * 40); });
        app.ServeImage("glyphs.png", 10, 8, 0xFFFFFFFF);
        app.WriteText("num.txt", kMetrics);
        app.WriteText("big.txt", kDescription);
        app.sounds->available = {app.File("click"), app.File("boom")};
    }

    // Reads a file of groups with the scratch folder as default path.
    void Parse(const std::string& groups)
    {
        ASSERT_TRUE(manager.ParseResourcesText("<ResourceManifest>" + groups + "</ResourceManifest>", "res.xml"))
            << manager.GetErrorText();
    }
    std::string Defaults() const { return "<SetDefaults path=\"" + app.Folder() + "\"/>"; }
    // "$/" in the body stands for the scratch folder (a font's "image" is
    // taken as written, without the default path).
    std::string Group(const std::string& id, std::string body) const
    {
        for (size_t at = body.find("$/"); at != std::string::npos; at = body.find("$/"))
            body.replace(at, 2, app.Folder() + "/");
        return "<Resources id=\"" + id + "\">" + Defaults() + body + "</Resources>";
    }
    MemoryImage* ImageOf(const std::string& id)
    {
        return dynamic_cast<MemoryImage*>(manager.GetImageOrThrow(id).GetImage());
    }

    FakeApp app;
    TestResourceManager manager{&app};
};

TEST_F(ResourceManagerLoadTest, TheApplicationOwnsAManager)
{
    EXPECT_NE(app.mResourceManager, nullptr);
}

TEST_F(ResourceManagerLoadTest, LoadsAGroupOfEveryKind)
{
    Parse(Group("menu", R"(
        <Image id="LOGO" path="logo.png"/>
        <Sound id="CLICK" path="click" volume="0.5" pan="200"/>
        <Sound id="BOOM" path="boom"/>
        <Font id="UI" path="!sys:DejaVu Sans" size="12" shadow/>
        <Font id="NUM" path="num.txt" image="$/glyphs.png"/>
        <Font id="BIG" path="big.txt" tags="glow, extra"/>
        <Font id="UI2" path="!ref:UI"/>)") +
          Group("game", "<Image id=\"STRIP\" path=\"strip.png\"/>"));

    ASSERT_TRUE(manager.LoadGroup("menu")) << manager.GetErrorText();
    EXPECT_TRUE(manager.IsGroupLoaded("menu"));
    EXPECT_FALSE(manager.IsGroupLoaded("game"));
    EXPECT_EQ(manager.onLoadedCount, 7);

    ASSERT_NE(ImageOf("LOGO"), nullptr);
    EXPECT_EQ(ImageOf("LOGO")->GetWidth(), 8);
    EXPECT_THROW((void)manager.GetImageOrThrow("STRIP"), ResourceManagerException);

    const int click = manager.GetSoundIdOrThrow("CLICK");
    const int boom = manager.GetSoundIdOrThrow("BOOM");
    EXPECT_NE(click, boom);
    EXPECT_EQ(app.sounds->loaded.at(click), app.File("click"));
    EXPECT_EQ(app.sounds->volumes.at(click), 0.5);
    EXPECT_EQ(app.sounds->pans.at(click), 200);
    EXPECT_EQ(app.sounds->volumes.count(boom), 0u); // keeps the manager's default

    auto* ui = dynamic_cast<SysFont*>(manager.GetFontOrThrow("UI"));
    ASSERT_NE(ui, nullptr);
    EXPECT_TRUE(ui->mDrawShadow);
    EXPECT_FALSE(ui->mSimulateBold);
    EXPECT_NE(dynamic_cast<SysFont*>(manager.GetFontOrThrow("UI2")), nullptr);
    EXPECT_NE(manager.GetFontOrThrow("UI2"), ui);

    auto* num = dynamic_cast<ImageFont*>(manager.GetFontOrThrow("NUM"));
    ASSERT_NE(num, nullptr);
    EXPECT_EQ(num->GetStringWidth("ab"), 10);
    auto* big = dynamic_cast<ImageFont*>(manager.GetFontOrThrow("BIG"));
    ASSERT_NE(big, nullptr);
    EXPECT_TRUE(big->HasTag("GLOW"));
    EXPECT_TRUE(big->HasTag("EXTRA"));
    EXPECT_EQ(big->GetActiveLayers().size(), 2u);
    EXPECT_EQ(manager.FindLoadedFont("NOPE"), nullptr);
}

TEST_F(ResourceManagerLoadTest, LookupsThrowTheirOwnMessage)
{
    Parse(Group("g", "<Image id=\"GONE\" path=\"gone.png\"/>"));
    EXPECT_FALSE(manager.LoadGroup("g"));
    EXPECT_EQ(manager.GetErrorText(), "Failed to load image: " + app.File("gone.png"));
    try
    {
        (void)manager.GetFontOrThrow("TITLE");
        FAIL() << "no exception";
    }
    catch (const ResourceManagerException& e)
    {
        EXPECT_STREQ(e.what(), "Font resource not found: TITLE");
    }
    // The first error stays the recorded one.
    EXPECT_EQ(manager.GetErrorText(), "Failed to load image: " + app.File("gone.png"));
    EXPECT_THROW((void)manager.GetImageOrThrow("GONE"), ResourceManagerException);
}

TEST_F(ResourceManagerLoadTest, LoadAndUnloadTwice)
{
    Parse(Group("menu", "<Image id=\"LOGO\" path=\"logo.png\"/><Sound id=\"CLICK\" path=\"click\"/>"
                        "<Font id=\"NUM\" path=\"num.txt\" image=\"$/glyphs.png\"/><Font id=\"REF\" path=\"!ref:NUM\"/>") +
          Group("game", "<Image id=\"STRIP\" path=\"strip.png\"/>"));
    for (int round = 0; round < 2; ++round)
    {
        ASSERT_TRUE(manager.LoadGroup("menu")) << manager.GetErrorText();
        ASSERT_TRUE(manager.LoadGroup("game")) << manager.GetErrorText();
        const int loadedBefore = manager.onLoadedCount;
        EXPECT_TRUE(manager.LoadGroup("menu")); // already loaded: nothing happens
        EXPECT_EQ(manager.onLoadedCount, loadedBefore);
        EXPECT_EQ(app.sounds->CountLoadedSounds(), 1);

        manager.UnloadGroup("menu");
        EXPECT_FALSE(manager.IsGroupLoaded("menu"));
        EXPECT_TRUE(manager.IsGroupLoaded("game"));
        EXPECT_EQ(app.sounds->CountLoadedSounds(), 0);
        EXPECT_EQ(manager.Sound("CLICK")->mSoundId, -1);
        EXPECT_EQ(manager.FindLoadedFont("NUM"), nullptr);
        EXPECT_EQ(manager.FontRecord("NUM")->mImage, nullptr);
        EXPECT_EQ(manager.Image("LOGO")->mImage.GetImage(), nullptr);
        EXPECT_NE(manager.Image("STRIP")->mImage.GetImage(), nullptr);

        manager.UnloadGroup(""); // everything
        EXPECT_FALSE(manager.IsGroupLoaded("game"));
        EXPECT_EQ(manager.Image("STRIP")->mImage.GetImage(), nullptr);
    }
    EXPECT_EQ(manager.onLoadedCount, 10);
    EXPECT_EQ(app.sounds->loadCount, 2);
}

TEST_F(ResourceManagerLoadTest, ImageSettings)
{
    Parse(Group("g", R"(
        <Image id="GRID" path="strip.png" rows="2" cols="3" anim="loop" framedelay="20" a4r4g4b4 minsubdivide/>
        <Image id="PAL" path="logo.png"/>
        <Image id="RAW" path="logo.png" variant="raw" nopal a8r8g8b8/>
        <Image id="GONE" path="logo.png" variant="gone" nobits/>)"));
    ASSERT_TRUE(manager.LoadGroup("g")) << manager.GetErrorText();
    MemoryImage* grid = ImageOf("GRID");
    EXPECT_EQ(grid->mCelRows, 2);
    EXPECT_EQ(grid->mCelColumns, 3);
    ASSERT_NE(grid->mAnimationInfo, nullptr);
    EXPECT_EQ(grid->mAnimationInfo->mAnimType, ANIMATION_LOOP);
    EXPECT_EQ(grid->mAnimationInfo->mFrameCount, 3);
    EXPECT_EQ(grid->mImageFlags, 4u | 1u);
    EXPECT_TRUE(ImageOf("PAL")->IsPalettized());
    EXPECT_FALSE(ImageOf("RAW")->IsPalettized());
    EXPECT_EQ(ImageOf("RAW")->mImageFlags, 8u);
    EXPECT_EQ(ImageOf("RAW")->mAnimationInfo, nullptr);
    EXPECT_TRUE(ImageOf("GONE")->mPurgeBits);
    EXPECT_FALSE(ImageOf("GONE")->HasBits());
}

TEST_F(ResourceManagerLoadTest, AlphaImagesAndGrids)
{
    // Alpha from the low (blue) byte of the mask's pixels.
    app.ServeImage("mask.png", 6, 2, [](int x, int y) { return 0xFF000000u | static_cast<uint32_t>(x * 10 + y); });
    app.ServeImage("cel.png", 2, 1, [](int x, int) { return 0xFF000000u | static_cast<uint32_t>(100 + x); });
    app.ServeImage("small.png", 3, 2);
    app.ServeImage("_ghost.png", 2, 2, 0xFF000080);
    Parse(Group("g", R"(
        <Image id="MASKED" path="strip.png" alphaimage="mask.png" nopal/>
        <Image id="GRID" path="strip.png" variant="grid" rows="2" cols="3" alphagrid="cel.png" nopal/>
        <Image id="GHOST" path="ghost.png" alphacolor="FF00FF00" nopal/>)"));
    ASSERT_TRUE(manager.LoadGroup("g")) << manager.GetErrorText();

    const uint32_t* masked = ImageOf("MASKED")->GetBits();
    EXPECT_EQ(masked[0], 0x00000000u);
    EXPECT_EQ(masked[5], 0x320000C8u);      // x 5, y 0: alpha 50, blue 200
    EXPECT_EQ(masked[6 + 2], 0x15000050u);  // x 2, y 1: alpha 21, blue 80
    const uint32_t* grid = ImageOf("GRID")->GetBits();
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(grid[y * 6 + x] >> 24, 100u + x % 2) << x << "," << y;
    // An alpha-only image takes the colour without its alpha bits.
    EXPECT_EQ(ImageOf("GHOST")->GetBits()[0], 0x8000FF00u);

    const std::vector<std::pair<std::string, std::string>> faults = {
        {"alphaimage=\"small.png\"", "AlphaImage size mismatch between " + app.File("logo.png") + " and " +
                                         app.File("small.png")},
        {"rows=\"2\" alphagrid=\"small.png\"", "GridAlphaImage size mismatch between " + app.File("logo.png") +
                                                   " and " + app.File("small.png")},
        {"alphaimage=\"none.png\"", "Failed to load image: " + app.File("none.png")},
    };
    int variant = 0;
    for (const auto& [attributes, error] : faults)
    {
        const std::string group = "fault" + std::to_string(variant);
        Parse(Group(group, "<Image id=\"F" + std::to_string(variant) + "\" path=\"logo.png\" variant=\"" +
                               std::to_string(variant) + "\" " + attributes + "/>"));
        ++variant;
        EXPECT_FALSE(manager.LoadGroup(group));
        EXPECT_EQ(manager.GetErrorText(), error);
    }
}

TEST_F(ResourceManagerLoadTest, AMissingAlphaIsTriedAgain)
{
    Parse(Group("g", "<Image id=\"LATE\" path=\"logo.png\" alphaimage=\"late.png\" nopal/>"));
    EXPECT_FALSE(manager.LoadGroup("g"));
    app.ServeImage("late.png", 8, 4, 0xFF000011);
    ASSERT_TRUE(manager.LoadGroup("g")) << manager.GetErrorText();
    EXPECT_EQ(ImageOf("LATE")->GetBits()[0] >> 24, 0x11u);
}

TEST_F(ResourceManagerLoadTest, SoundFaults)
{
    Parse(Group("g", "<Sound id=\"MUTE\" path=\"mute\"/>") + Group("h", "<Sound id=\"CLICK\" path=\"click\"/>"));
    EXPECT_FALSE(manager.LoadGroup("g"));
    EXPECT_EQ(manager.GetErrorText(), "Failed to load sound: " + app.File("mute"));
    app.sounds->freeIdLimit = 0;
    EXPECT_FALSE(manager.LoadGroup("h"));
    EXPECT_EQ(manager.GetErrorText(), "Out of free sound ids");
}

TEST_F(ResourceManagerLoadTest, FontFaults)
{
    Parse(Group("a", "<Font id=\"REF\" path=\"!ref:NUM\"/>") +
          Group("b", "<Font id=\"NOMETRICS\" path=\"none.txt\" image=\"$/glyphs.png\"/>") +
          Group("c", "<Font id=\"NOIMAGE\" path=\"num.txt\" image=\"$/none.png\"/>") +
          Group("d", "<Font id=\"NODESC\" path=\"none.txt\"/>"));
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"a", "Ref font not found: NUM"},
        {"b", "Failed to load font: " + app.File("none.txt")},
        {"c", "Failed to load image: " + app.File("none.png")},
        {"d", "Failed to load font: " + app.File("none.txt")},
    };
    for (const auto& [group, error] : cases)
    {
        EXPECT_FALSE(manager.LoadGroup(group));
        EXPECT_EQ(manager.GetErrorText(), error);
    }
    EXPECT_EQ(manager.FontRecord("NOMETRICS")->mImage, nullptr);
    EXPECT_EQ(manager.FontRecord("NOMETRICS")->mFont, nullptr);
}

// A clone of an image-and-metrics font keeps its image when the source's
// group is unloaded.
TEST_F(ResourceManagerLoadTest, ReferencedFontOutlivesItsSource)
{
    Parse(Group("src", "<Font id=\"NUM\" path=\"num.txt\" image=\"$/glyphs.png\"/>") +
          Group("copy", "<Font id=\"COPY\" path=\"!ref:NUM\" tags=\"x\"/>"));
    ASSERT_TRUE(manager.LoadGroup("src")) << manager.GetErrorText();
    ASSERT_TRUE(manager.LoadGroup("copy")) << manager.GetErrorText();
    manager.UnloadGroup("src");
    auto* copy = dynamic_cast<ImageFont*>(manager.GetFontOrThrow("COPY"));
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->HasTag("X"));
    MemoryImage canvas;
    canvas.Create(32, 16);
    Graphics g(&canvas);
    copy->DrawString(&g, 0, 10, "ab", Color::White, Rect(0, 0, 32, 16));
    EXPECT_EQ(copy->GetStringWidth("ab"), 10);
    EXPECT_EQ(canvas.GetBits()[16 * 8 + 1], 0xFFFFFFFFu); // a glyph pixel drawn from the kept image
}

} // namespace
} // namespace Lumo
