#include "platform/VideoSdl.h"
#include "platform/StopSignal.h"

#include "tests/platform/TempFolder.h"

#include <SDL.h>

#include <csignal>

namespace Lumo::Platform {
namespace {

using Testing::ScopedEnv;

TEST(VideoSdlTest, KeysBecomeVirtualKeyCodes)
{
    // SDL key codes of printable keys are their characters.
    EXPECT_EQ(SdlKeyToVirtualKey('a'), 'A');
    EXPECT_EQ(SdlKeyToVirtualKey('z'), 'Z');
    EXPECT_EQ(SdlKeyToVirtualKey('0'), '0');
    EXPECT_EQ(SdlKeyToVirtualKey('9'), '9');
    EXPECT_EQ(SdlKeyToVirtualKey('\r'), VirtualKey::Return);
    EXPECT_EQ(SdlKeyToVirtualKey('\x1b'), VirtualKey::Escape);
    EXPECT_EQ(SdlKeyToVirtualKey('\b'), VirtualKey::Back);
    EXPECT_EQ(SdlKeyToVirtualKey(' '), VirtualKey::Space);
    EXPECT_EQ(SdlKeyToVirtualKey(0x7F), VirtualKey::Delete);
    // Non-printable keys are their scan code with bit 30 set (F1 is scan code 58).
    EXPECT_EQ(SdlKeyToVirtualKey(58 | (1 << 30)), VirtualKey::F1);
    EXPECT_EQ(SdlKeyToVirtualKey(69 | (1 << 30)), VirtualKey::F1 + 11);
    EXPECT_EQ(SdlKeyToVirtualKey(82 | (1 << 30)), VirtualKey::Up);
    EXPECT_EQ(SdlKeyToVirtualKey(225 | (1 << 30)), VirtualKey::Shift);
    EXPECT_EQ(SdlKeyToVirtualKey(0), 0);
}

// The windows SDL has now: one, shown. A window made for another screen mode
// is shown as the first one is, and the one it replaces is gone.
void ExpectOneWindowShown()
{
    int windows = 0;
    int shown = 0;
    for (Uint32 id = 1; id < 1000; ++id)
    {
        if (SDL_Window* window = SDL_GetWindowFromID(id))
        {
            ++windows;
            shown += (SDL_GetWindowFlags(window) & SDL_WINDOW_SHOWN) != 0 ? 1 : 0;
        }
    }
    EXPECT_EQ(windows, 1);
    EXPECT_EQ(shown, 1);
}

// SDL's dummy driver needs no display: a smoke run of the whole back end.
TEST(VideoSdlTest, WindowFramesAndMessageBoxWithoutADisplay)
{
    ScopedEnv driver("SDL_VIDEODRIVER", "dummy");
    ScopedEnv renderer("SDL_RENDER_DRIVER", "software");
    // No display at all, so no helper program can put up a real message box.
    ScopedEnv display("DISPLAY", nullptr);
    ScopedEnv wayland("WAYLAND_DISPLAY", nullptr);
    auto video = SdlVideo::Create();
    if (!video)
        GTEST_SKIP() << "SDL has no dummy video driver here";
    EXPECT_FALSE(video->IsHeadless());
    ASSERT_TRUE(video->CreateWindow("Tumbrix", 64, 48, false));
    ExpectOneWindowShown();
    ASSERT_TRUE(video->CreateWindow("Tumbrix", 64, 48, true)); // a mode switch re-creates it
    ExpectOneWindowShown();
    EXPECT_TRUE(video->HasWindow());
    video->SetTitle("Tumbrix 1.0");

    std::vector<uint32_t> frame(64 * 48, 0xFF336699u);
    video->Present(frame.data(), 64, 48, 64 * 4);
    video->Present(frame.data(), 32, 24, 64 * 4); // another size: a new texture
    std::vector<InputEvent> events;
    video->PollEvents(events);
    video->ShowSystemCursor(false);

    // The dummy driver cannot show a box: it is reported and the first
    // button answers.
    EXPECT_EQ(video->ShowMessageBox("Question", "Sure?", MessageBoxKind::YesNo), MESSAGEBOX_YES);
    // Once the program was asked to end, a box gets no answer: nothing may
    // be done on its behalf.
    std::signal(SIGTERM, SIG_DFL);
    InstallStopSignalHandlers();
    std::raise(SIGTERM);
    const int unanswered = video->ShowMessageBox("Question", "Sure?", MessageBoxKind::YesNo);
    ClearStopSignal();
    std::signal(SIGTERM, SIG_DFL);
    EXPECT_EQ(unanswered, MESSAGEBOX_NONE);
    video->DestroyWindow();
    EXPECT_FALSE(video->HasWindow());
    int x = 0;
    int y = 0;
    EXPECT_FALSE(video->GetMousePosition(x, y));
}

} // namespace
} // namespace Lumo::Platform
