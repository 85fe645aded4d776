// The end of a run whose display went away, and the X handlers that lead there.
#include "platform/DisplayLoss.h"

#include "platform/DebugOutput.h"

#include <X11/Xlib.h>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <thread>
#include <unistd.h>

namespace Lumo::Platform {

namespace {

std::atomic<bool> gDisplayLost{false};
std::atomic<void (*)()> gHandler{nullptr};

struct LossState
{
    std::mutex mutex;
    std::thread::id mainThread;
    std::string reason;
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

[[noreturn]] void EndProcess()
{
    std::fflush(nullptr);
    _exit(1); // no exit handlers: they may reach for the display again
}

const char* XErrorName(int code)
{
    switch (code)
    {
    case BadWindow: return "BadWindow";
    case BadPixmap: return "BadPixmap";
    case BadDrawable: return "BadDrawable";
    case BadMatch: return "BadMatch";
    case BadAccess: return "BadAccess";
    case BadAlloc: return "BadAlloc";
    case BadGC: return "BadGC";
    default: return "an X error";
    }
}

int OnXError(Display*, XErrorEvent* event)
{
    char text[160];
    std::snprintf(text, sizeof text, "the window or the display went away (%s, code %d, request %d)",
                  XErrorName(event->error_code), event->error_code, event->request_code);
    EndForLostDisplay(text);
}

int OnXIOError(Display*)
{
    EndForLostDisplay("the connection to the display was lost");
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
    gDisplayLost.store(true);
    if (!OnMainThread())
    {
        {
            LossState& state = State();
            std::lock_guard<std::mutex> lock(state.mutex);
            if (state.reason.empty())
                state.reason = reason;
        }
        // The main thread ends the process; this one stays out of its way.
        for (;;)
            pause();
    }
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
    Notice("VIDEO", "the program ended because its display went away");
    EndProcess();
}

void EndIfDisplayLost()
{
    if (!gDisplayLost.load())
        return;
    std::string reason;
    {
        LossState& state = State();
        std::lock_guard<std::mutex> lock(state.mutex);
        reason = state.reason;
    }
    EndForLostDisplay(reason.empty() ? "the display went away" : reason);
}

void InstallX11DisplayLossHandlers()
{
    XSetErrorHandler(OnXError);
    XSetIOErrorHandler(OnXIOError);
}

} // namespace Lumo::Platform
