// Stop signals: a lock-free flag, raised by the handler and polled by the main
// loop (and read by any other thread).
#include "platform/StopSignal.h"

#include "platform/ChildProcesses.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace Lumo::Platform {

namespace {

// A handler may only touch lock-free atomics.
std::atomic<bool> gStopSignal{false};
static_assert(std::atomic<bool>::is_always_lock_free);
// The process that installed the handlers.
std::atomic<pid_t> gOwner{0};
static_assert(std::atomic<pid_t>::is_always_lock_free);

extern "C" void OnStopSignal(int signalNumber)
{
    const int savedErrno = errno;
    if (getpid() != gOwner.load(std::memory_order_relaxed))
    {
        // A forked copy: the signal, blocked while this runs, comes again
        // once it returns and does what it would have done uncaught.
        struct sigaction standard = {};
        standard.sa_handler = SIG_DFL;
        sigemptyset(&standard.sa_mask);
        sigaction(signalNumber, &standard, nullptr);
        raise(signalNumber);
        errno = savedErrno;
        return;
    }
    gStopSignal.store(true, std::memory_order_relaxed);
    // A copy of the program showing a message box (SDL shows X boxes from
    // one) holds the thread that waits for its answer, and with it the run's
    // end: the copies end too, and so does one made from now on (SDL tries
    // again, or another way, when a box's copy ends).
    EndChildrenForkedFromNow(signalNumber);
    SignalChildProcesses(signalNumber);
    errno = savedErrno;
}

// once: whether a second signal of the kind takes the default action.
void Install(int signalNumber, bool once)
{
    // A signal the program was started with ignored (SIGINT of a background
    // job) stays ignored.
    struct sigaction current = {};
    if (sigaction(signalNumber, nullptr, &current) == 0 && current.sa_handler == SIG_IGN)
        return;
    struct sigaction action = {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    // A read or write that the signal interrupts in another thread is
    // restarted, not failed.
    action.sa_flags = SA_RESTART | (once ? SA_RESETHAND : 0);
    sigaction(signalNumber, &action, nullptr);
}

} // namespace

void InstallStopSignalHandlers()
{
    // A second Ctrl+C or kill ends a program that does not stop. A closing
    // terminal's hang-up can come twice (from the kernel and from the shell):
    // it must not end the run before its records are saved.
    gOwner.store(getpid(), std::memory_order_relaxed);
    WatchForks();
    Install(SIGTERM, true);
    Install(SIGINT, true);
    Install(SIGHUP, false);
}

void IgnoreBrokenPipes()
{
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, nullptr);
}

bool StopSignalReceived()
{
    return gStopSignal.load(std::memory_order_relaxed);
}

void ClearStopSignal()
{
    gStopSignal.store(false, std::memory_order_relaxed);
    EndChildrenForkedFromNow(0);
}

} // namespace Lumo::Platform
