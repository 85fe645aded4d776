// Font descriptions: the commands, their errors as shown in the error box,
// and the metrics-file path.
#include "fonts/FontData.h"
#include "fonts/FontScale.h"

#include <gtest/gtest.h>

#include "tests/fonts/FontTestSupport.h"

namespace Lumo {
namespace {

using namespace FontTest;

class FontDataTest : public ::testing::Test
{
protected:
    // Loads the description (with a 20 x 10 glyph image "glyphs.png" beside
    // it) into a fresh FontData.
    FontData& Load(const std::string& text)
    {
        WritePng(folder, "glyphs.png", 20, 10, [](int, int) { return 0xFFFFFFFFu; });
        path = folder.Write("font.txt", text);
        data = std::make_unique<FontData>();
        EXPECT_TRUE(data->LoadDescription(&app, path));
        return *data;
    }
    FontLayer& Layer(const std::string& name) { return *data->mFontLayerMap.at(name); }

    ScratchFolder folder;
    TestApp app;
    std::string path;
    std::unique_ptr<FontData> data;
};

TEST_F(FontDataTest, ErrorBoxNamesFileLineAndCommand)
{
    FontData& font = Load("CreateLayer Main;\n\n  Frobnicate\n  Main 3;\nCreateLayer Other");
    EXPECT_FALSE(font.IsLoaded());
    EXPECT_EQ(font.mFontLayerList.size(), 1u); // reading stopped at the failing command
    ASSERT_EQ(MessageTexts().size(), 1u);
    EXPECT_EQ(MessageTexts()[0], "Font Descriptor Error in " + path +
                                     "\r\nUnknown Command on Line 3:\r\n\r\nFrobnicate\nMain 3");
}

TEST_F(FontDataTest, CommandErrorTexts)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"CreateLayer", "Invalid Number of Parameters"},
        {"LayerSetAscent Nope 3", "Undefined Layer"},
        {"LayerSetAscent Main x", "Invalid Paramater Type"},
        {"LayerSetDrawMode Main -1", "Invalid Paramater Type"},
        {"LayerSetDrawMode Main 2", "Invalid Paramater Type"},
        {"LayerSetCharWidths Main ('a' 'b') (1)", "List Size Mismatch"},
        {"LayerSetCharWidths Main ('ab' 'c') (1)", "Invalid Paramater Type"},
        {"LayerSetImage Main missing.png", "Failed to Load Image"},
        {"LayerSetImageMap Main ('a') ((0 0 1 1))", "Layer image not set"},
        {"LayerSetColorMult Main (1 1 1)", "Invalid Paramater Type"},
    };
    for (const auto& [command, error] : cases)
    {
        Platform::ClearMessageBoxLog();
        FontData& font = Load("CreateLayer Main; " + command);
        EXPECT_FALSE(font.IsLoaded()) << command;
        ASSERT_FALSE(MessageTexts().empty()) << command;
        EXPECT_NE(MessageTexts()[0].find("\r\n" + error + " on Line 1:\r\n\r\n" + command), std::string::npos)
            << MessageTexts()[0];
    }
}

TEST_F(FontDataTest, LayerSettingsAndColours)
{
    FontData& font = Load("CreateLayer Main; SetDefaultPointSize 28;"
                          "LayerSetColorMult Main 0x00FF0000; LayerSetColorAdd Main (1, 0.5, 0, 1);"
                          "CreateLayer Clamped; LayerSetColorMult Clamped (-1, 2, 0.5, 7);"
                          "LayerPointRange Main 10 -1; LayerSetDrawMode Main 1; LayerSetOffset Main (3 -4);"
                          "LayerRequireTags Main ('bold', 'Big one'); LayerSetKerningPairs Main ('AV' 'Ta') (200 -3);"
                          "SetCharMap ('a' 'b') ('A' 'B');");
    ASSERT_TRUE(font.IsLoaded()) << (MessageTexts().empty() ? "" : MessageTexts()[0]);
    EXPECT_EQ(font.mDefaultPointSize, 28);
    FontLayer& main = Layer("MAIN");
    EXPECT_EQ(main.mColorMult, Color(255, 0, 0, 255));
    EXPECT_EQ(main.mColorAdd, Color(255, 127, 0, 255));
    EXPECT_EQ(Layer("CLAMPED").mColorMult, Color(0, 255, 127, 255));
    EXPECT_EQ(main.mMinPointSize, 10);
    EXPECT_EQ(main.mMaxPointSize, -1);
    EXPECT_EQ(main.mDrawMode, 1);
    EXPECT_EQ(main.mOffset, Point(3, -4));
    EXPECT_EQ(main.mRequiredTags, (std::vector<std::string>{"BOLD", "BIG ONE"}));
    EXPECT_EQ(main.mCharData['A'].mKerningOffsets['V'], -56);
    EXPECT_EQ(main.mCharData['T'].mKerningOffsets['a'], -3);
    EXPECT_EQ(font.mCharMap['a'], 'A');
    EXPECT_EQ(font.mCharMap['c'], 'c');
    EXPECT_FALSE(font.LoadDescription(&app, path)); // a second load is refused
    EXPECT_EQ(font.mFontLayerList.size(), 2u);
}

TEST_F(FontDataTest, ImageMapBoundsAndComputedHeight)
{
    FontData& font = Load("CreateLayer L; LayerSetImage L glyphs.png;"
                          "LayerSetCharOffsets L ('a' 'b') ((0 2) (0 -1));"
                          "CreateHorzSpanRectList Spans (5 1 0 9) (4 6);"
                          "LayerSetImageMap L ('a' 'b') Spans; LayerSetImageMap L ('c') ((10 0 10 10))");
    ASSERT_TRUE(font.IsLoaded()) << (MessageTexts().empty() ? "" : MessageTexts()[0]);
    FontLayer& layer = Layer("L");
    EXPECT_EQ(layer.mCharData['a'].mImageRect, Rect(5, 1, 4, 9));
    EXPECT_EQ(layer.mCharData['b'].mImageRect, Rect(9, 1, 6, 9));
    EXPECT_EQ(layer.mCharData['c'].mImageRect, Rect(10, 0, 10, 10)); // right edge on the image edge
    EXPECT_EQ(layer.mDefaultHeight, 11);                              // 9 + offset 2

    for (const char* bad : {"(11 0 10 10)", "(0 1 1 10)", "(5 0 -1 4)", "(0 5 4 -1)", "(-1 0 1 1)"})
    {
        Platform::ClearMessageBoxLog();
        FontData& refused =
            Load(std::string("CreateLayer L; LayerSetImage L glyphs.png; LayerSetImageMap L ('x') (") + bad + ")");
        EXPECT_FALSE(refused.IsLoaded()) << bad;
        ASSERT_EQ(MessageTexts().size(), 1u) << bad;
        EXPECT_NE(MessageTexts()[0].find("Image rectangle out of bounds"), std::string::npos);
    }
}

TEST_F(FontDataTest, DuplicateLayerIsReportedAndReadingGoesOn)
{
    FontData& font = Load("CreateLayer Main; LayerSetAscent Main 7; CreateLayer main;"
                          "CreateLayerFrom Main Main; CreateLayerFrom Copy Main; LayerSetAscent Copy 9");
    EXPECT_TRUE(font.IsLoaded());
    EXPECT_EQ(MessageTexts().size(), 2u);
    EXPECT_EQ(font.mFontLayerList.size(), 2u);
    EXPECT_EQ(Layer("MAIN").mAscent, 7);
    EXPECT_EQ(Layer("COPY").mAscent, 9);
}

// A layer drawn for point size 1 whose one glyph is 16 x 8: at the default
// size 64 its rescaled image is 1024 x 512, half the font's image budget.
constexpr const char* kScaledLayer = "SetDefaultPointSize 64;"
                                     "CreateLayer a; LayerSetImage a glyphs.png; LayerSetPointSize a 1;"
                                     "LayerSetImageMap a ('A') ((0 0 16 8)); LayerSetCharWidths a ('A') (8);";

TEST_F(FontDataTest, ScaledLayersShareOneImageBudget)
{
    static_assert(1024 * 512 * 2 == FontScale::kMaxFontImagePixels);
    // Exactly the budget: the layer and one copy.
    EXPECT_TRUE(Load(std::string(kScaledLayer) + "CreateLayerFrom b a;").IsLoaded())
        << (MessageTexts().empty() ? "" : MessageTexts()[0]);
    EXPECT_TRUE(MessageTexts().empty());

    // One copy more is refused, naming the command that went past.
    FontData& copies =
        Load(std::string(kScaledLayer) + "CreateLayerFrom b a;\nCreateLayerFrom c a;\nCreateLayerFrom d a;");
    EXPECT_FALSE(copies.IsLoaded());
    EXPECT_EQ(copies.mFontLayerList.size(), 3u); // the reading stopped there
    ASSERT_EQ(MessageTexts().size(), 1u);
    EXPECT_EQ(MessageTexts()[0], "Font Descriptor Error in " + path +
                                     "\r\nScaled Layer Images Too Large on Line 2:\r\n\r\nCreateLayerFrom c a");

    // One layer drawn for point size 1 and shown at 180 (2880 x 1440) is
    // refused whichever command makes it so.
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"SetDefaultPointSize 180; CreateLayer a; LayerSetImage a glyphs.png; LayerSetPointSize a 1;"
         "LayerSetImageMap a ('A') ((0 0 16 8))",
         "LayerSetImageMap a ('A') ((0 0 16 8))"},
        {"CreateLayer a; LayerSetImage a glyphs.png; LayerSetPointSize a 1; LayerSetImageMap a ('A') ((0 0 16 8));"
         "SetDefaultPointSize 180",
         "SetDefaultPointSize 180"},
        {"SetDefaultPointSize 180; CreateLayer a; LayerSetImage a glyphs.png; LayerSetImageMap a ('A') ((0 0 16 8));"
         "LayerSetPointSize a 1",
         "LayerSetPointSize a 1"},
        // Out of the layer's point range at the default size it is not made;
        // widening the range makes it.
        {"SetDefaultPointSize 180; CreateLayer a; LayerSetImage a glyphs.png; LayerPointRange a 1 20;"
         "LayerSetPointSize a 1; LayerSetImageMap a ('A') ((0 0 16 8)); LayerPointRange a 1 -1",
         "LayerPointRange a 1 -1"},
    };
    for (const auto& [text, command] : cases)
    {
        Platform::ClearMessageBoxLog();
        EXPECT_FALSE(Load(text).IsLoaded()) << text;
        ASSERT_EQ(MessageTexts().size(), 1u) << text;
        EXPECT_NE(MessageTexts()[0].find("\r\nScaled Layer Images Too Large on Line 1:\r\n\r\n" + command),
                  std::string::npos)
            << MessageTexts()[0];
    }
}

TEST_F(FontDataTest, LayersDrawnAtTheirOwnSizeCostNoBudget)
{
    // Drawn for the default size, for no size in particular, or shown only
    // at other sizes: any number of copies is fine.
    std::string text = "SetDefaultPointSize 180; CreateLayer a; LayerSetImage a glyphs.png; LayerSetPointSize a 180;"
                       "LayerSetImageMap a ('A') ((0 0 20 10)); CreateLayerFrom z a; LayerSetPointSize z 0;"
                       "CreateLayerFrom r a; LayerPointRange r 0 20; LayerSetPointSize r 1;";
    for (int i = 0; i < 40; ++i)
        text += "CreateLayerFrom a" + std::to_string(i) + " a; CreateLayerFrom z" + std::to_string(i) +
                " z; CreateLayerFrom r" + std::to_string(i) + " r;";
    EXPECT_TRUE(Load(text).IsLoaded()) << (MessageTexts().empty() ? "" : MessageTexts()[0]);
    EXPECT_EQ(data->mFontLayerList.size(), 123u);
}

TEST_F(FontDataTest, RedefiningKeepsOneValue)
{
    FontData& font = Load("Define Widths (1 2); Define Widths (3 4 5);"
                          "CreateLayer L; LayerSetCharWidths L ('a' 'b' 'c') Widths");
    ASSERT_TRUE(font.IsLoaded());
    EXPECT_EQ(Layer("L").mCharData['c'].mWidth, 5);
}

TEST_F(FontDataTest, MetricsFilePlacesGlyphsSideBySide)
{
    auto image = std::make_shared<MemoryImage>();
    image->Create(18, 12);
    const std::string metrics = folder.Write("abc.txt", "4 9\nA 5\nB 6\nC 7\n");
    FontData font;
    ASSERT_TRUE(font.LoadFromMetricsFile(image, metrics));
    ASSERT_TRUE(font.IsLoaded());
    const FontLayer& layer = *font.mFontLayerMap.at("");
    EXPECT_EQ(layer.mCharData[' '].mWidth, 4);
    EXPECT_EQ(layer.mAscent, 9);
    EXPECT_EQ(layer.mDefaultHeight, 12);
    EXPECT_EQ(layer.mCharData['A'].mImageRect, Rect(0, 0, 5, 12));
    EXPECT_EQ(layer.mCharData['B'].mImageRect, Rect(5, 0, 6, 12));
    EXPECT_EQ(layer.mCharData['C'].mImageRect, Rect(11, 0, 7, 12));
    EXPECT_EQ(font.mCharMap['b'], 'B');
    EXPECT_EQ(font.mCharMap['d'], 'd');
    EXPECT_FALSE(font.LoadFromMetricsFile(image, metrics));
}

TEST_F(FontDataTest, MetricsFileFaults)
{
    auto image = std::make_shared<MemoryImage>();
    image->Create(10, 4);
    struct Case
    {
        const char* text;
        bool loads;
        int widthOfB;
    };
    for (const Case& c : {Case{"x y\nA 3", false, 0}, Case{"", false, 0}, Case{"2 3\nA 3\nB 4\nC", true, 4},
                          Case{"2 3\nA 3\nB -1", false, 0}, Case{"2 3\nA 6\nB 5", false, 0},
                          Case{"2 3\nA 3\nB 7", true, 7}, Case{"2 3 A 99999999999999999999", false, 0},
                          Case{"12 3\nB 2", true, 2}, Case{"-1 3\nB 2", false, 0}})
    {
        FontData font;
        EXPECT_EQ(font.LoadFromMetricsText(image, c.text), c.loads) << c.text;
        EXPECT_EQ(font.IsLoaded(), c.loads) << c.text;
        if (c.loads)
        {
            EXPECT_EQ(font.mFontLayerMap.at("")->mCharData['B'].mWidth, c.widthOfB) << c.text;
        }
    }
}

} // namespace
} // namespace Lumo
