// A window whose display is about to end, for RealDisplayLoss.sh: the main
// thread keeps presenting frames while a second thread keeps switching the
// cursor, as a message box shown from the loading thread does around its box.
// It prints "ready" once frames are on the screen; the script then ends the X
// server. Whichever thread meets the loss, the run must end in order: the
// handler runs on the main thread ("saved in order") and the status is 1.
// With "idle", the main thread makes no display call after "ready", so the
// second thread alone meets the loss; the handler then also says whether that
// thread came back out of Xlib.
#include "platform/DisplayLoss.h"
#include "platform/StopSignal.h"
#include "platform/VideoSdl.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using namespace Lumo::Platform;

bool gIdle = false;
std::mutex gMutex;
std::condition_variable gReturned;
bool gCursorThreadReturned = false;

void SavedInOrder()
{
    if (!gIdle)
    {
        // The main thread may have met the loss first; the other one may then
        // wait inside Xlib until the process ends.
        std::puts("saved in order");
        std::fflush(stdout);
        return;
    }
    // The thread that met the loss comes back out of Xlib at once; ten
    // seconds is only a bound for one that never would.
    std::unique_lock<std::mutex> lock(gMutex);
    const bool returned = gReturned.wait_for(lock, std::chrono::seconds(10), [] { return gCursorThreadReturned; });
    std::printf("saved in order; the cursor thread %s\n", returned ? "returned" : "is still held in Xlib");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    gIdle = argc > 1 && std::strcmp(argv[1], "idle") == 0;
    IgnoreBrokenPipes(); // as the application does
    std::string error;
    auto video = SdlVideo::Create(&error);
    if (!video || !video->CreateWindow("display loss check", 320, 240, false))
    {
        std::fprintf(stderr, "no window: %s\n", error.c_str());
        return 2;
    }
    SetDisplayLostHandler(&SavedInOrder);

    std::thread cursor([] {
        for (bool show = false; !DisplayLost(); show = !show)
            SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
        std::lock_guard<std::mutex> lock(gMutex);
        gCursorThreadReturned = true;
        gReturned.notify_all();
    });
    cursor.detach(); // the process ends from the handler, with this thread in any state

    std::vector<uint32_t> frame(320 * 240);
    for (uint32_t pass = 0;; ++pass)
    {
        EndIfDisplayLost();
        if (!gIdle || pass < 50)
        {
            std::fill(frame.begin(), frame.end(), 0xFF000000u | (pass * 0x010203u));
            video->Present(frame.data(), 320, 240, 320 * 4);
            std::vector<InputEvent> events;
            video->PollEvents(events);
        }
        else
        {
            std::this_thread::yield();
        }
        if (pass == 50)
        {
            std::puts("ready");
            std::fflush(stdout);
        }
    }
}
