#include "platform/Video.h"

#include "tests/platform/TempFolder.h"

#include <thread>

namespace Lumo::Platform {
namespace {

using Testing::ScopedEnv;

TEST(VideoHeadlessTest, ChosenByTheEnvironment)
{
    ScopedEnv headless("LUMO_HEADLESS", "1");
    auto video = CreateVideoBackend();
    ASSERT_NE(video, nullptr);
    EXPECT_TRUE(video->IsHeadless());
    ASSERT_TRUE(video->CreateWindow("Tumbrix", 1024, 768, false));
    EXPECT_TRUE(video->HasWindow());
}

TEST(VideoHeadlessTest, MessageBoxesAreLoggedAndAnsweredAtOnce)
{
    ClearMessageBoxLog();
    HeadlessVideo video;
    EXPECT_EQ(video.ShowMessageBox("Caption", "Text", MessageBoxKind::Ok), MESSAGEBOX_OK);
    EXPECT_EQ(video.ShowMessageBox("Question", "Sure?", MessageBoxKind::YesNo), MESSAGEBOX_YES);
    int fromThread = 0;
    std::thread([&] { fromThread = video.ShowMessageBox("FATAL ERROR", "x", MessageBoxKind::OkCancel); }).join();
    EXPECT_EQ(fromThread, MESSAGEBOX_OK);

    auto log = GetMessageBoxLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].caption, "Caption");
    EXPECT_EQ(log[0].text, "Text");
    EXPECT_EQ(log[1].caption, "Question");
    EXPECT_EQ(log[2].caption, "FATAL ERROR");
    ClearMessageBoxLog();
    EXPECT_TRUE(GetMessageBoxLog().empty());
}

TEST(VideoHeadlessTest, FramesAreKeptWithoutThePitchPadding)
{
    HeadlessVideo video;
    ASSERT_TRUE(video.CreateWindow("Tumbrix", 3, 2, true));
    EXPECT_TRUE(video.IsFullscreen());
    EXPECT_EQ(video.GetTitle(), "Tumbrix");
    // Rows of 3 pixels, 4 pixels apart.
    const uint32_t pixels[8] = {1, 2, 3, 0xDEAD, 4, 5, 6, 0xBEEF};
    video.Present(pixels, 3, 2, 16);
    video.Present(nullptr, 3, 2, 16); // ignored
    video.Present(pixels, 3, 2, 8);   // pitch too small: ignored
    EXPECT_EQ(video.GetPresentCount(), 1);
    EXPECT_EQ(video.GetFrameWidth(), 3);
    EXPECT_EQ(video.GetFrameHeight(), 2);
    EXPECT_EQ(video.GetLastFrame(), (std::vector<uint32_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_FALSE(video.CreateWindow("Tumbrix", 0, 768, false));
}

TEST(VideoHeadlessTest, QueuedEventsComeBackInOrderOnce)
{
    HeadlessVideo video;
    int x = 0;
    int y = 0;
    EXPECT_FALSE(video.GetMousePosition(x, y));

    InputEvent move{EventType::MouseMove, 10, 20};
    InputEvent down{EventType::MouseDown, 11, 21};
    down.clickCount = 2;
    InputEvent key{EventType::KeyDown};
    key.keyCode = VirtualKey::Escape;
    for (const InputEvent& event : {move, down, key})
        video.QueueEvent(event);

    std::vector<InputEvent> events;
    video.PollEvents(events);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].type, EventType::MouseMove);
    EXPECT_EQ(events[1].type, EventType::MouseDown);
    EXPECT_EQ(events[1].clickCount, 2);
    EXPECT_EQ(events[2].keyCode, VirtualKey::Escape);
    ASSERT_TRUE(video.GetMousePosition(x, y));
    EXPECT_EQ(x, 11);
    EXPECT_EQ(y, 21);

    video.PollEvents(events);
    EXPECT_EQ(events.size(), 3u);
}

} // namespace
} // namespace Lumo::Platform
