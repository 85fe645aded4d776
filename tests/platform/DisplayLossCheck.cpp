// A window whose display is about to end, for RealDisplayLoss.sh: the main
// thread keeps presenting frames while a second thread keeps making Xlib
// calls. It prints "ready" once frames are on the screen; the script then ends
// the X server. Whichever thread meets the loss, the run must end in order:
// the handler runs on the main thread, writes the file SAVED ("saved in
// order") and the status is 1.
//
// Usage: display_loss_check MODE SAVED, MODE one of
//   busy     the second thread switches the cursor, as a message box shown
//            from the loading thread does around its box, while the main
//            thread also asks the window's size again and again, as a GL
//            driver does on each frame: none of its calls may fail quietly
//            (a driver goes on with a size it never got) before the run ends;
//   ifevent  as busy, but the second thread looks for an event with
//            XCheckIfEvent, inside which Xlib's internal lock stays held;
//   idle     as busy, but the main thread makes no display call after
//            "ready", so the second thread alone meets the loss: it must stay
//            out of Xlib, holding no lock, while the main thread ends the run;
//   xcb      as idle, but the main thread goes on sending requests through
//            xcb itself, and waiting for a reply, as DRI3 and indirect GLX
//            drivers do on each swap: the second thread meets the loss while
//            Xlib's socket is often with xcb;
//   xcb-box  as xcb, but the second thread first shows a message box, which
//            the server's end closes.
#include "platform/DisplayLoss.h"
#include "platform/FileSystem.h"
#include "platform/StopSignal.h"
#include "platform/VideoSdl.h"
#include "tests/platform/ThreadState.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib-xcb.h>
#include <X11/Xlib.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace Lumo::Platform;

std::string gMode;
std::string gSavedFile;
Display* gDisplay = nullptr;
std::atomic<bool> gCursorThreadReturned{false};
std::atomic<pid_t> gCursorThread{0};
// Calls of the main thread that failed with no handler called.
int gQuietFailures = 0;
std::thread::id gMainThread;
bool gWidenTheLockHandOver = false;

// The main thread's calls of AskTheWindowsSize that have returned.
std::mutex gCallsMutex;
std::condition_variable gCallsChanged;
long gMainCalls = 0;

void SavedInOrder()
{
    std::string saved = "saved in order";
    if (gMode == "idle")
    {
        // The thread that met the loss waits for the process's end outside
        // Xlib: it never comes back (Xlib cannot go on after a lost
        // connection), holds none of the display's locks (taking the user lock
        // here would wait for ever) and sleeps rather than spins (a thread
        // that spins is never seen asleep; the script's bound ends the wait).
        XLockDisplay(gDisplay);
        XUnlockDisplay(gDisplay);
        while (!gCursorThreadReturned && Lumo::Testing::ThreadState(gCursorThread.load()) != 'S')
            std::this_thread::yield();
        saved += gCursorThreadReturned ? "; the cursor thread came back into our code"
                                       : "; the cursor thread waits, holding no lock";
    }
    if (gQuietFailures > 0)
        saved += "; " + std::to_string(gQuietFailures) + " calls of the main thread failed quietly first";
    if (!WriteFileAtomically(gSavedFile, saved.data(), saved.size()))
        std::fprintf(stderr, "cannot write %s\n", gSavedFile.c_str());
}

Bool NoEvent(Display*, XEvent*, XPointer)
{
    return False;
}

// Switches the cursor until the display is lost; in xcb-box mode a message box
// comes first; in ifevent mode it looks for an event instead.
void CursorThread()
{
    gCursorThread = Lumo::Testing::CurrentThreadId();
    if (gMode == "xcb-box")
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, "display loss check", "The display ends now.", nullptr);
    XEvent event;
    for (bool show = false; !DisplayLost(); show = !show)
    {
        if (gMode == "ifevent")
            XCheckIfEvent(gDisplay, &event, NoEvent, nullptr);
        else
            SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
    }
    gCursorThreadReturned = true;
}

// The window's size, asked for as a GL driver does on each frame.
void AskTheWindowsSize(Window window)
{
    for (int i = 0; i < 20; ++i)
    {
        Window root = 0;
        int x = 0, y = 0;
        unsigned width = 0, height = 0, border = 0, depth = 0;
        if (XGetGeometry(gDisplay, window, &root, &x, &y, &width, &height, &border, &depth) == 0)
            ++gQuietFailures; // the handler ends the run from inside a call that meets the loss
        std::lock_guard<std::mutex> lock(gCallsMutex);
        ++gMainCalls;
        gCallsChanged.notify_all();
    }
}

} // namespace

// Xlib's own, with the moment after a thread that met the loss gives back the
// user lock widened: that thread then waits, asleep, until the main thread has
// finished one more call of its own. The main thread is most often waiting for
// that lock, so a call it makes while the connection is still marked failed
// (and fails quietly) shows in nearly every run, not in one of hundreds.
void XUnlockDisplay(Display* display)
{
    static const auto xlibs = reinterpret_cast<void (*)(Display*)>(dlsym(RTLD_NEXT, "XUnlockDisplay"));
    xlibs(display);
    if (!gWidenTheLockHandOver || !DisplayLost() || std::this_thread::get_id() == gMainThread)
        return;
    std::unique_lock<std::mutex> lock(gCallsMutex);
    const long seen = gMainCalls;
    gCallsChanged.wait(lock, [seen] { return gMainCalls != seen; });
}

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::fprintf(stderr, "usage: display_loss_check busy|ifevent|idle|xcb|xcb-box SAVED\n");
        return 2;
    }
    gMode = argv[1];
    gSavedFile = argv[2];
    const bool idle = gMode == "idle";
    const bool throughXcb = gMode.rfind("xcb", 0) == 0;
    const bool asksSize = gMode == "busy" || gMode == "ifevent";
    gWidenTheLockHandOver = asksSize;
    gMainThread = std::this_thread::get_id();
    IgnoreBrokenPipes(); // as the application does
    std::string error;
    auto video = SdlVideo::Create(&error);
    if (!video || !video->CreateWindow("display loss check", 320, 240, false))
    {
        std::fprintf(stderr, "no window: %s\n", error.c_str());
        return 2;
    }
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    SDL_Window* window = SDL_GetWindowFromID(1);
    if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
    {
        std::fprintf(stderr, "not an X11 window\n");
        return 2;
    }
    gDisplay = info.info.x11.display;
    xcb_connection_t* connection = XGetXCBConnection(gDisplay);
    SetDisplayLostHandler(&SavedInOrder);

    std::thread cursor(CursorThread);
    cursor.detach(); // the process ends from the handler, with this thread in any state

    std::vector<uint32_t> frame(320 * 240);
    for (uint32_t pass = 0;; ++pass)
    {
        EndIfDisplayLost();
        // After "ready" an idle main thread makes no display call, and one
        // that talks xcb makes only its own requests, so the second thread
        // meets the loss, while the socket is often with xcb.
        if (pass <= 50 || (!idle && !throughXcb))
        {
            std::fill(frame.begin(), frame.end(), 0xFF000000u | (pass * 0x010203u));
            video->Present(frame.data(), 320, 240, 320 * 4);
            std::vector<InputEvent> events;
            video->PollEvents(events);
            if (asksSize && pass > 50)
                AskTheWindowsSize(info.info.x11.window);
        }
        // The driver's own requests, and a round trip it waits on.
        if (throughXcb && !DisplayLost())
        {
            xcb_no_operation(connection);
            xcb_flush(connection);
            std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
        }
        if (idle && pass > 50)
            std::this_thread::yield();
        if (pass == 50)
        {
            std::puts("ready");
            std::fflush(stdout);
        }
    }
}
