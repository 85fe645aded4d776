// The display over the headless video back end: the screen image, frames
// presented, full screen and windowed, no 3D.
#include <gtest/gtest.h>

#include "fonts/Font.h"
#include "graphics/DDImage.h"
#include "graphics/Graphics.h"
#include "graphics/display/DDInterface.h"
#include "platform/Video.h"

namespace Lumo {

TEST(DisplayTest, ScreenIsDrawnAndPresented)
{
    Platform::HeadlessVideo video;
    DDInterface display(&video);
    ASSERT_EQ(display.Init("Test", 1024, 768, true, false), DDInterface::RESULT_OK);
    DDImage* screen = display.GetScreenImage();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->mWidth, 1024);
    EXPECT_EQ(screen->mHeight, 768);
    EXPECT_EQ(screen->GetPixelFormat(), PIXEL_FORMAT_888);

    Graphics g(screen);
    g.SetColor(Color(255, 0, 0));
    g.FillRect(10, 20, 5, 5);
    ASSERT_TRUE(display.Redraw());
    EXPECT_EQ(video.GetPresentCount(), 1);
    ASSERT_EQ(video.GetFrameWidth(), 1024);
    EXPECT_EQ(video.GetLastFrame()[20 * 1024 + 10] & 0xFFFFFFu, 0xFF0000u);
    EXPECT_EQ(video.GetLastFrame()[0] & 0xFFFFFFu, 0u);

    std::vector<uint32_t> copy = display.CopyScreenPixels();
    ASSERT_EQ(copy.size(), 1024u * 768u);
    EXPECT_EQ(copy[20 * 1024 + 10], 0xFFFF0000u);
}

TEST(DisplayTest, ModeSwitchRecreatesTheWindowAnd3DIsRefused)
{
    Platform::HeadlessVideo video;
    DDInterface display(&video);
    ASSERT_EQ(display.Init("Test", 64, 48, false, true), DDInterface::RESULT_OK);
    EXPECT_TRUE(video.IsFullscreen());
    EXPECT_FALSE(display.IsWindowed());
    EXPECT_FALSE(display.Is3D());
    EXPECT_EQ(display.GetLastTestFailure(), "no acceleration");
    ASSERT_EQ(display.Init("Test", 64, 48, true, false), DDInterface::RESULT_OK);
    EXPECT_FALSE(video.IsFullscreen());
    EXPECT_TRUE(display.IsWindowed());
    EXPECT_EQ(display.GetD3DInterface()->mScreenImage, display.GetScreenImage());

    EXPECT_EQ(display.Init("Test", 0, 48, true, false), DDInterface::RESULT_INVALID_SIZE);
    EXPECT_EQ(display.GetScreenImage(), nullptr);
    EXPECT_FALSE(display.Redraw());
}

namespace {

// Records what Graphics hands to the font.
class RecordingFont : public Font
{
public:
    Font* Clone() override { return new RecordingFont(*this); }
    void DrawString(Graphics* g, int x, int y, const std::string& text, const Color& color,
                    const Rect& clipRect) override
    {
        graphics = g;
        drawnX = x;
        drawnY = y;
        drawnText = text;
        drawnColor = color;
        drawnClip = clipRect;
    }

    Graphics* graphics = nullptr;
    int drawnX = 0, drawnY = 0;
    std::string drawnText;
    Color drawnColor;
    Rect drawnClip;
};

} // namespace

TEST(GraphicsFontTest, DrawStringGoesToTheCurrentFont)
{
    DDImage image;
    image.Create(20, 20);
    Graphics g(&image);
    g.DrawString("nothing", 0, 0); // no font: nothing happens
    RecordingFont font;
    font.mHeight = 12;
    font.mAscent = 9;
    EXPECT_EQ(font.GetDescent(), 3);
    EXPECT_EQ(font.GetLineSpacing(), 12);
    EXPECT_EQ(font.GetKernedCharWidth('a', 'b'), 0);
    g.SetFont(&font);
    g.SetColor(Color(1, 2, 3, 4));
    g.Translate(2.0f, 3.0f);
    g.SetClipRect(0, 0, 5, 5);
    g.DrawString("hello", 4, 5);
    EXPECT_EQ(font.graphics, &g);
    EXPECT_EQ(font.drawnText, "hello");
    EXPECT_EQ(font.drawnX, 4); // the font applies the translation itself
    EXPECT_EQ(font.drawnColor, Color(1, 2, 3, 4));
    EXPECT_EQ(font.drawnClip, Rect(2, 3, 5, 5));
    std::unique_ptr<Font> clone(font.Clone());
    EXPECT_EQ(clone->GetHeight(), 12);
}

} // namespace Lumo
