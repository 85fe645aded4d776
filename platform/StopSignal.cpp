// Stop signals: a lock-free flag, raised by the handler and polled by the main
// loop (and read by any other thread).
#include "platform/StopSignal.h"

#include <atomic>
#include <csignal>

namespace Lumo::Platform {

namespace {

// A handler may only touch lock-free atomics.
std::atomic<bool> gStopSignal{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void OnStopSignal(int)
{
    gStopSignal.store(true, std::memory_order_relaxed);
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
    Install(SIGTERM, true);
    Install(SIGINT, true);
    Install(SIGHUP, false);
}

bool StopSignalReceived()
{
    return gStopSignal.load(std::memory_order_relaxed);
}

void ClearStopSignal()
{
    gStopSignal.store(false, std::memory_order_relaxed);
}

} // namespace Lumo::Platform
