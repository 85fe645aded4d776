// Word-wrapped text: the line-breaking rules, justification, line spacing,
// and that drawing and the pure measure agree.
#include "fonts/TextWrap.h"

#include <gtest/gtest.h>

#include "fonts/SysFont.h"
#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"
#include "widgets/Widget.h"

namespace Lumo {
namespace {

// Every character is 10 pixels wide; records what it draws.
class GridFont : public Font
{
public:
    GridFont()
    {
        mAscent = 9;
        mHeight = 11;
        mLineSpacingOffset = 1;
    }
    int GetStringWidth(const std::string& text) override { return static_cast<int>(text.size()) * 10; }
    void DrawString(Graphics*, int x, int y, const std::string& text, const Color&, const Rect&) override
    {
        drawn.push_back({x, y, text});
    }
    Font* Clone() override { return new GridFont(*this); }

    struct Line
    {
        int x, y;
        std::string text;
        bool operator==(const Line&) const = default;
    };
    std::vector<Line> drawn;
};

std::vector<std::string> Texts(GridFont& font, const std::string& text, int width)
{
    std::vector<std::string> texts;
    for (const auto& line : TextWrap::WrapLines(font, text, width))
        texts.push_back(line.text);
    return texts;
}

TEST(WrappedTextTest, LineBreakingRules)
{
    GridFont font;
    using Lines = std::vector<std::string>;
    EXPECT_EQ(Texts(font, "aa bb cc", 50), (Lines{"aa bb", "cc"}));
    EXPECT_EQ(Texts(font, "aa  bb   cc", 80), (Lines{"aa bb cc"}));
    EXPECT_EQ(Texts(font, "x verylongword y", 30), (Lines{"x", "verylongword", "y"}));
    EXPECT_EQ(Texts(font, "a\n\nb\r\n", 100), (Lines{"a", "", "b"}));
    EXPECT_EQ(Texts(font, "", 100), Lines{});
    EXPECT_EQ(Texts(font, "   ", 100), Lines{});
    EXPECT_EQ(MeasureWrappedText(&font, 50, "aa bb cc"), 2 * 12);
    EXPECT_EQ(MeasureWrappedText(&font, 50, "aa bb cc", 20), 2 * 20);
    EXPECT_EQ(MeasureWrappedText(nullptr, 50, "aa bb cc"), 0);
}

TEST(WrappedTextTest, DrawingPlacesLinesAndReturnsTheMeasure)
{
    MemoryImage canvas;
    canvas.Create(8, 8);
    Graphics g(&canvas);
    GridFont font;
    g.SetFont(&font);
    const Rect rect(100, 200, 70, 10);
    const std::string text = "one two three\nfour";

    EXPECT_EQ(Widget::DrawWrappedText(&g, rect, text, -1, -1), MeasureWrappedText(&font, 70, text));
    EXPECT_EQ(font.drawn, (std::vector<GridFont::Line>{{100, 209, "one two"}, {100, 221, "three"}, {100, 233, "four"}}));

    font.drawn.clear();
    EXPECT_EQ(Widget::DrawWrappedText(&g, rect, text, 20, 0), 60);
    EXPECT_EQ(font.drawn, (std::vector<GridFont::Line>{{100, 209, "one two"}, {110, 229, "three"}, {115, 249, "four"}}));

    font.drawn.clear();
    Widget::DrawWrappedText(&g, rect, "ab", -1, 1);
    EXPECT_EQ(font.drawn, (std::vector<GridFont::Line>{{150, 209, "ab"}}));

    g.SetFont(nullptr);
    EXPECT_EQ(Widget::DrawWrappedText(&g, rect, text, -1, -1), 0);
}

TEST(WrappedTextTest, MeasureMatchesADrawBelowTheCanvas)
{
    SysFont font("DejaVu Sans", 14);
    MemoryImage canvas;
    canvas.Create(32, 32);
    Graphics g(&canvas);
    g.SetFont(&font);
    const std::string text = "The quick brown fox jumps over the lazy dog and keeps running far away";
    const int drawn = Widget::DrawWrappedText(&g, Rect(0, 32, 150, 400), text, -1, 0);
    EXPECT_EQ(drawn, MeasureWrappedText(&font, 150, text));
    EXPECT_GT(drawn, font.GetLineSpacing());
    for (int i = 0; i < 32 * 32; ++i)
        EXPECT_EQ(canvas.GetBits()[i], 0u);
}

} // namespace
} // namespace Lumo
