// A frame drawn through the widget manager into the display's screen image,
// presented headless and written as a PNG that reads back the same.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "graphics/DDImage.h"
#include "graphics/Graphics.h"
#include "graphics/display/DDInterface.h"
#include "platform/Environment.h"
#include "platform/Video.h"
#include "resources/ImageLib.h"
#include "tests/graphics/TestImages.h"
#include "widgets/Widget.h"
#include "widgets/WidgetManager.h"

namespace Lumo {

namespace {

class PaintWidget : public Widget
{
public:
    void Draw(Graphics* g) override
    {
        g->SetColor(Color(0, 0, 255));
        g->FillRect(0, 0, mWidth, mHeight);
        g->DrawImage(sprite, 10, 10);
        g->SetColor(Color(255, 255, 255, 128));
        g->FillRect(-50, 40, 1000, 10); // clipped to the widget
    }
    Image* sprite = nullptr;
};

} // namespace

TEST(ScreenFrameTest, WidgetFrameIsPresentedAndWrittenAsPng)
{
    Platform::HeadlessVideo video;
    DDInterface display(&video);
    ASSERT_EQ(display.Init("Frame", 1024, 768, true, false), DDInterface::RESULT_OK);
    auto sprite = Lumo::Test::MakeFilled(4, 4, 0x80FF0000u);
    PaintWidget widget;
    widget.sprite = sprite.get();
    widget.Resize(100, 200, 64, 64);
    WidgetManager manager;
    manager.AddWidget(&widget);
    widget.MarkDirty();

    Graphics g(display.GetScreenImage());
    ASSERT_TRUE(manager.DrawScreen(&g));
    ASSERT_TRUE(display.Redraw());
    const std::vector<uint32_t>& frame = video.GetLastFrame();
    auto at = [&](int x, int y) { return frame[static_cast<size_t>(y) * 1024 + x] & 0xFFFFFFu; };
    EXPECT_EQ(at(100, 200), 0x0000FFu);
    EXPECT_EQ(at(110, 210), 0x7F007Eu); // red at alpha 128 over blue
    EXPECT_EQ(at(99, 200), 0u);
    EXPECT_EQ(at(100, 240), 0x7F7FFDu); // white at alpha 128 over blue
    EXPECT_EQ(at(99, 240), 0u);          // clipped to the widget
    EXPECT_EQ(at(164, 240), 0u);

    std::vector<uint32_t> pixels = display.CopyScreenPixels();
    ImageLib::Image capture;
    ASSERT_TRUE(capture.Allocate(1024, 768));
    std::memcpy(capture.GetBits(), pixels.data(), pixels.size() * sizeof(uint32_t));
    const std::string path =
        (std::filesystem::temp_directory_path() / ("lumo_frame_" + std::to_string(Platform::GetProcessId()) + ".png"))
            .string();
    ASSERT_TRUE(ImageLib::WritePng(path, capture));
    std::unique_ptr<ImageLib::Image> back = ImageLib::ReadImageFile(path, false);
    std::filesystem::remove(path);
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(back->GetWidth(), 1024);
    EXPECT_EQ(std::memcmp(back->GetBits(), pixels.data(), pixels.size() * sizeof(uint32_t)), 0);
    manager.RemoveWidget(&widget);
}

} // namespace Lumo
