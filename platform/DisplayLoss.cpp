// The end of a run whose display went away, and the X handlers that lead there.
#include "platform/DisplayLoss.h"

#include "platform/ChildProcesses.h"
#include "platform/DebugOutput.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <mutex>
#include <pthread.h>
#include <sys/uio.h>
#include <thread>
#include <unistd.h>

#include <X11/Xlib.h>
// For LockDisplay and the connection's failed mark.
#include <X11/Xlibint.h>
#undef min
#undef max

namespace Lumo::Platform {

namespace {

std::atomic<bool> gDisplayLost{false};
std::atomic<void (*)()> gHandler{nullptr};
// The process that installed the X handlers; 0 before. A forked copy
// inherits the handlers but not the right to end the run.
std::atomic<pid_t> gHandlersProcess{0};

struct LossState
{
    std::mutex mutex;
    std::thread::id mainThread;
    std::string reason; // the first one met off the main thread
    bool xError = false; // it was a refused request, not a loss
};

LossState& State()
{
    static LossState state;
    return state;
}

bool OnMainThread()
{
    LossState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    return state.mainThread == std::thread::id() || state.mainThread == std::this_thread::get_id();
}

bool InForkedCopy()
{
    const pid_t owner = gHandlersProcess.load();
    return owner != 0 && owner != getpid();
}

// The program's message-box copies end with it: on a display that is still
// there (a destroyed window, an X error) they would stay on the screen.
[[noreturn]] void EndProcess()
{
    EndProgramNow(1);
}

// A forked copy ends without touching what it shares with the program: one
// line written straight to stderr (a stdio lock may be held by a thread that
// does not exist in the copy), no handler, no exit handlers.
[[noreturn]] void EndForkedCopy(const char* why)
{
    static const char kStart[] = "[message box] closed: ";
    iovec parts[] = {{const_cast<char*>(kStart), sizeof kStart - 1},
                     {const_cast<char*>(why), std::strlen(why)},
                     {const_cast<char*>("\n"), 1}};
    (void)!writev(STDERR_FILENO, parts, 3);
    _exit(1);
}

void Report(const std::string& reason, bool xError)
{
    if (!OnMainThread())
    {
        {
            LossState& state = State();
            std::lock_guard<std::mutex> lock(state.mutex);
            if (state.reason.empty())
            {
                state.reason = reason;
                state.xError = xError;
            }
        }
        // Raised once the reason is kept: the main thread that sees it finds
        // the reason, and ends the process at its next pass.
        gDisplayLost.store(true);
        return;
    }
    gDisplayLost.store(true);
    static std::atomic<bool> ending{false};
    if (ending.exchange(true))
    {
        // A display call made while saving failed too: end without more.
        Notice("VIDEO", "ending at once: " + reason);
        EndProcess();
    }
    Notice("VIDEO", reason + "; saving what changed before ending");
    if (auto* handler = gHandler.load())
        handler();
    Notice("VIDEO", xError ? "the program ended because of that X error"
                           : "the program ended because its display went away");
    EndProcess();
}

// The error's name: the core protocol's, or the one its extension gives
// (GLXBadDrawable); empty when there is none.
std::string XErrorName(Display* display, int code)
{
    static const char* const kCoreNames[] = {
        nullptr,     "BadRequest", "BadValue", "BadWindow",   "BadPixmap", "BadAtom",
        "BadCursor", "BadFont",    "BadMatch", "BadDrawable", "BadAccess", "BadAlloc",
        "BadColor",  "BadGC",      "BadIDChoice", "BadName",  "BadLength", "BadImplementation"};
    if (code > 0 && code < static_cast<int>(std::size(kCoreNames)))
        return kCoreNames[code];
    if (display == nullptr)
        return "";
    // Made from what the client knows already: no request to the server.
    char text[128] = "";
    XGetErrorText(display, code, text, sizeof text);
    const std::string name(text, std::strcspn(text, " "));
    return name.find_first_not_of("0123456789") == std::string::npos ? "" : name;
}

int OnXError(Display* display, XErrorEvent* event)
{
    if (InForkedCopy())
        EndForkedCopy("an X error");
    const int code = event->error_code;
    const int request = event->request_code;
    const std::string name = XErrorName(display, code);
    // The window destroyed from outside: the server no longer knows it.
    const bool windowGone = name.find("Window") != std::string::npos || name.find("Drawable") != std::string::npos;
    char text[200];
    if (windowGone)
        std::snprintf(text, sizeof text, "the window or the display went away (%s, code %d, request %d)",
                      name.c_str(), code, request);
    else if (!name.empty())
        std::snprintf(text, sizeof text, "an X error: %s (code %d, request %d)", name.c_str(), code, request);
    else
        std::snprintf(text, sizeof text, "an X error: code %d (request %d)", code, request);
    Report(text, !windowGone);
    // Off the main thread: Xlib goes on (its calls now fail) and the main
    // thread ends the run at its next pass.
    return 0;
}

// Off the main thread, after meeting a lost connection. Xlib cannot be gone
// back into from here: libX11 1.8 goes on after a returning I/O-error handler
// as if the request had room, and writes through NULL once its socket was with
// xcb (as DRI3 and indirect GLX drivers leave it). So the thread leaves Xlib
// for good and waits for the process's end, asleep and holding no lock:
//   - it clears the connection's failed mark while it still holds the user
//     lock that Xlib's I/O-error path took, so that no call of another thread
//     runs with the mark set: such a call quietly does nothing, and a GL
//     driver then goes on with a window size it never got, until it crashes.
//     The main thread's next call meets the broken connection itself and ends
//     the run from its own handler;
//   - then it gives back Xlib's internal lock, which the I/O-error path has
//     released already except inside XIfEvent and its kin: there Xlib keeps
//     it, and its LockDisplay and UnlockDisplay do nothing on that thread
//     while its in-event count is set;
//   - last, it gives back the user lock.
[[noreturn]] void LeaveXlibForGood(Display* display)
{
    if (display != nullptr)
    {
        if (display->in_ifevent != 0 && pthread_equal(display->ifevent_thread, pthread_self()))
            display->in_ifevent = 0; // its internal lock is held: UnlockDisplay now gives it back
        else
            LockDisplay(display);
        display->flags = display->flags & ~XlibDisplayIOError;
        UnlockDisplay(display);
        XUnlockDisplay(display);
    }
    for (;;)
        pause();
}

// A lost connection: on the main thread the run ends in order, here; on any
// other thread the main thread ends it, at its next pass or its next Xlib
// call. Never returns into Xlib.
[[noreturn]] void MeetLostConnection(Display* display)
{
    if (InForkedCopy())
        EndForkedCopy("the display went away");
    Report("the connection to the display was lost", false);
    LeaveXlibForGood(display);
}

int OnXIOError(Display* display)
{
    MeetLostConnection(display);
}

// Xlib calls this only when its I/O-error handler returned, which ours never
// does; should another library have put its own in place of ours, the run
// still ends as ours would end it.
void OnXIOErrorExit(Display* display, void*)
{
    MeetLostConnection(display);
}

} // namespace

void SetDisplayLostHandler(void (*handler)())
{
    LossState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.mainThread = std::this_thread::get_id();
    gHandler.store(handler);
}

bool DisplayLost()
{
    return gDisplayLost.load();
}

void EndForLostDisplay(const std::string& reason)
{
    Report(reason, false);
}

void EndIfDisplayLost()
{
    if (!gDisplayLost.load())
        return;
    std::string reason;
    bool xError = false;
    {
        LossState& state = State();
        std::lock_guard<std::mutex> lock(state.mutex);
        reason = state.reason;
        xError = state.xError;
    }
    Report(reason.empty() ? "the display went away" : reason, xError);
}

void InstallX11DisplayLossHandlers()
{
    gHandlersProcess.store(getpid());
    WatchForks();
    XSetErrorHandler(OnXError);
    XSetIOErrorHandler(OnXIOError);
}

void WatchX11Display(void* display)
{
    XSetIOErrorExitHandler(static_cast<Display*>(display), OnXIOErrorExit, nullptr);
}

} // namespace Lumo::Platform
