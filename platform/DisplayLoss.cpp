// The end of a run whose display went away, and the X handlers that lead there.
#include "platform/DisplayLoss.h"

#include "platform/DebugOutput.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <mutex>
#include <sys/uio.h>
#include <thread>
#include <unistd.h>

#include <X11/Xlib.h>
// For LockDisplay: the lock Xlib's I/O-error path leaves released.
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
// The connection whose I/O-error exit handler is ours.
std::atomic<Display*> gWatchedDisplay{nullptr};

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

[[noreturn]] void EndProcess()
{
    std::fflush(nullptr);
    _exit(1); // no exit handlers: they may reach for the display again
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

int OnXIOError(Display* display)
{
    if (InForkedCopy())
        EndForkedCopy("the display went away");
    Report("the connection to the display was lost", false);
    // Off the main thread. On the watched connection OnXIOErrorExit lets this
    // thread go on. Any other one would end the process from Xlib's default
    // exit handler before the main thread has saved: this thread gives back
    // that connection's lock and waits for the process to end.
    if (display != gWatchedDisplay.load())
    {
        XUnlockDisplay(display);
        for (;;)
            pause();
    }
    return 0;
}

// Xlib calls this after OnXIOError returned, so only off the main thread. Xlib
// reaches the handlers holding the connection's user lock (which only the
// process's end would free) and having released its internal one (which the
// caller releases again once this returns). Both are set right, so the main
// thread never waits for this one and no two threads run inside Xlib at once.
// Xlib has also marked the connection failed, which makes later calls return
// quietly: the main thread would go on inside whatever was drawing (a GL
// driver takes the failed calls for a window of no size and crashes). Cleared,
// the main thread's next call meets the broken connection itself, at once,
// and ends the run from there.
void OnXIOErrorExit(Display* display, void*)
{
    if (InForkedCopy() || OnMainThread())
        EndProcess();
    XUnlockDisplay(display);
    LockDisplay(display);
    display->flags = display->flags & ~XlibDisplayIOError;
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
    XSetErrorHandler(OnXError);
    XSetIOErrorHandler(OnXIOError);
}

void WatchX11Display(void* display)
{
    auto* connection = static_cast<Display*>(display);
    gWatchedDisplay.store(connection);
    XSetIOErrorExitHandler(connection, OnXIOErrorExit, nullptr);
}

} // namespace Lumo::Platform
