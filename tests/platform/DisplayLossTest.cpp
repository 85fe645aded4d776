// A lost display: a thread other than the main one that meets it returns at
// once and the main thread ends the run in order; a forked copy of the program
// (an X message box) ends at once, saving nothing; X errors are named.
#include "platform/DisplayLoss.h"
#include "platform/VideoSdl.h"

#include "tests/platform/TempFolder.h"

#include <X11/Xlib.h>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace Lumo::Platform {
namespace {

using Testing::ScopedEnv;

std::mutex gMutex;
std::condition_variable gChanged;
bool gOtherThreadReturned = false;

// The orderly end of the first test: it says whether the thread that met the
// loss came back (ten seconds only bounds one that never would).
void SavedAfterTheOtherThreadReturned()
{
    std::unique_lock<std::mutex> lock(gMutex);
    const bool returned = gChanged.wait_for(lock, std::chrono::seconds(10), [] { return gOtherThreadReturned; });
    std::fprintf(stderr, "saved in order; the other thread %s\n", returned ? "returned" : "is still waiting");
}

TEST(DisplayLossTest, AnotherThreadThatMeetsTheLossReturnsAndTheMainThreadEndsTheRunInOrder)
{
    ScopedEnv driver("SDL_VIDEODRIVER", "dummy");
    ScopedEnv renderer("SDL_RENDER_DRIVER", "software");
    ScopedEnv display("DISPLAY", nullptr);
    ScopedEnv wayland("WAYLAND_DISPLAY", nullptr);
    if (!SdlVideo::Create())
        GTEST_SKIP() << "SDL has no dummy video driver here";
    EXPECT_EXIT(
        {
            SetDisplayLostHandler(&SavedAfterTheOtherThreadReturned);
            auto video = SdlVideo::Create();
            if (!video || !video->CreateWindow("lost", 32, 24, false))
                std::_Exit(3);
            std::thread other([] {
                EndForLostDisplay("the connection to the display was lost");
                std::lock_guard<std::mutex> lock(gMutex);
                gOtherThreadReturned = true;
                gChanged.notify_all();
            });
            other.detach();
            // The main thread goes on with the display layer until its next
            // pass finds the loss; from then on the layer makes no display call.
            std::vector<uint32_t> frame(32 * 24, 0xFF204060u);
            for (;;)
            {
                EndIfDisplayLost();
                video->Present(frame.data(), 32, 24, 32 * 4);
                std::vector<InputEvent> events;
                video->PollEvents(events);
                video->ShowSystemCursor(true);
            }
        },
        testing::ExitedWithCode(1),
        "the connection to the display was lost; saving what changed before ending\n"
        "saved in order; the other thread returned\n"
        ".*the program ended because its display went away");
}

// Our X handlers, as Xlib would call them.
struct Handlers
{
    XErrorHandler error;
    XIOErrorHandler ioError;
};

Handlers InstalledHandlers()
{
    InstallX11DisplayLossHandlers();
    Handlers handlers{XSetErrorHandler(nullptr), XSetIOErrorHandler(nullptr)};
    XSetErrorHandler(handlers.error);
    XSetIOErrorHandler(handlers.ioError);
    return handlers;
}

XErrorEvent ProtocolError(int code, int request)
{
    XErrorEvent event = {};
    event.error_code = static_cast<unsigned char>(code);
    event.request_code = static_cast<unsigned char>(request);
    return event;
}

std::string gMarker;

void MarkSaved()
{
    std::ofstream(gMarker) << "saved";
}

TEST(DisplayLossTest, AForkedCopyThatMeetsTheLossEndsAtOnceAndSavesNothing)
{
    Testing::TempFolder tmp;
    gMarker = tmp / "saved";
    // As SDL shows an X message box: a copy of the program forked from its
    // main thread, whose only thread therefore passes for the main one.
    EXPECT_EXIT(
        {
            SetDisplayLostHandler(&MarkSaved);
            const Handlers handlers = InstalledHandlers();
            for (int which = 0; which < 2; ++which)
            {
                const pid_t copy = fork();
                if (copy == 0)
                {
                    XErrorEvent event = ProtocolError(BadWindow, 4);
                    if (which == 0)
                        handlers.ioError(nullptr);
                    else
                        handlers.error(nullptr, &event);
                    std::_Exit(3); // a handler that returns leaves the copy to Xlib
                }
                int status = 0;
                if (copy < 0 || waitpid(copy, &status, 0) != copy || !WIFEXITED(status) || WEXITSTATUS(status) != 1)
                    std::_Exit(4);
            }
            std::_Exit(std::ifstream(gMarker) ? 5 : 0);
        },
        testing::ExitedWithCode(0), "");
}

TEST(DisplayLossTest, AnXErrorIsNamedAndALostWindowSaysSo)
{
    auto endsWith = [](int code, int request) {
        SetDisplayLostHandler(nullptr);
        XErrorEvent event = ProtocolError(code, request);
        InstalledHandlers().error(nullptr, &event);
    };
    EXPECT_EXIT(endsWith(BadAlloc, 53), testing::ExitedWithCode(1),
                "VIDEO: an X error: BadAlloc \\(code 11, request 53\\); saving what changed before ending");
    EXPECT_EXIT(endsWith(BadImplementation, 130), testing::ExitedWithCode(1),
                "an X error: BadImplementation \\(code 17, request 130\\);");
    EXPECT_EXIT(endsWith(200, 140), testing::ExitedWithCode(1), "an X error: code 200 \\(request 140\\);");
    EXPECT_EXIT(endsWith(BadDrawable, 14), testing::ExitedWithCode(1),
                "the window or the display went away \\(BadDrawable, code 9, request 14\\)");
}

} // namespace
} // namespace Lumo::Platform
