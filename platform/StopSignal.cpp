// Stop signals: a lock-free flag, raised by the handler and polled by the main
// loop (and read by any other thread).
#include "platform/StopSignal.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace Lumo::Platform {

namespace {

// A handler may only touch lock-free atomics.
std::atomic<bool> gStopSignal{false};
static_assert(std::atomic<bool>::is_always_lock_free);
// The process that installed the handlers.
std::atomic<pid_t> gOwner{0};
static_assert(std::atomic<pid_t>::is_always_lock_free);

// The signal that raised the flag, for the copies made after it.
std::atomic<int> gStopSignalNumber{0};

// Parses the decimal number at text; false at its end.
bool NextNumber(const char*& text, const char* end, long& number)
{
    while (text < end && (*text < '0' || *text > '9'))
        ++text;
    if (text == end)
        return false;
    number = 0;
    while (text < end && *text >= '0' && *text <= '9')
        number = number * 10 + (*text++ - '0');
    return true;
}

// Sends the signal to every process this one made, as the kernel lists them
// for each of its threads. Only system calls, so a signal handler may call it.
void SignalChildren(int signalNumber)
{
    const int tasks = open("/proc/self/task", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (tasks < 0)
        return;
    alignas(8) char entries[4096];
    long got = 0;
    while ((got = syscall(SYS_getdents64, tasks, entries, sizeof entries)) > 0)
    {
        for (long at = 0; at < got;)
        {
            // struct linux_dirent64: inode, offset, record length, type, name.
            uint16_t length = 0;
            std::memcpy(&length, entries + at + 16, sizeof length);
            const char* name = entries + at + 19;
            at += length;
            if (name[0] < '0' || name[0] > '9')
                continue;
            char path[64] = "/proc/self/task/";
            size_t used = std::strlen(path);
            for (const char* c = name; *c != '\0' && used < sizeof path - 10; ++c)
                path[used++] = *c;
            std::memcpy(path + used, "/children", 10);
            const int file = open(path, O_RDONLY | O_CLOEXEC);
            if (file < 0)
                continue;
            char children[4096];
            const ssize_t size = read(file, children, sizeof children);
            close(file);
            const char* text = children;
            long child = 0;
            while (size > 0 && NextNumber(text, children + size, child))
                kill(static_cast<pid_t>(child), signalNumber);
        }
    }
    close(tasks);
}

// Ends this process as the signal would have, had nothing caught it.
[[noreturn]] void TakeDefaultAction(int signalNumber)
{
    struct sigaction standard = {};
    standard.sa_handler = SIG_DFL;
    sigemptyset(&standard.sa_mask);
    sigaction(signalNumber, &standard, nullptr);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signalNumber);
    pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    raise(signalNumber);
    _exit(128 + signalNumber);
}

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
    gStopSignalNumber.store(signalNumber, std::memory_order_relaxed);
    gStopSignal.store(true, std::memory_order_relaxed);
    // A copy of the program showing a message box (SDL shows X boxes from
    // one) holds the thread that waits for its answer, and with it the run's
    // end: the copies end too. Only the program's own children, never its
    // process group, which may hold the player's other programs.
    SignalChildren(signalNumber);
    errno = savedErrno;
}

// A copy made once the signal came (SDL tries again, or another way, when a
// box's copy ends) ends at once, as the signal would have ended it.
extern "C" void EndCopyMadeAfterStop()
{
    const int signalNumber = gStopSignalNumber.load(std::memory_order_relaxed);
    if (gOwner.load(std::memory_order_relaxed) != 0 && gStopSignal.load(std::memory_order_relaxed) && signalNumber > 0)
        TakeDefaultAction(signalNumber);
}

// A copy forked while the signal was being handled may have missed both the
// handler's round and the flag: it is sent the signal once it is listed.
extern "C" void SignalCopyMadeAfterStop()
{
    if (gStopSignal.load(std::memory_order_relaxed))
        SignalChildren(gStopSignalNumber.load(std::memory_order_relaxed));
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
    static const bool forkHandlers = pthread_atfork(nullptr, SignalCopyMadeAfterStop, EndCopyMadeAfterStop) == 0;
    (void)forkHandlers;
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
    gStopSignalNumber.store(0, std::memory_order_relaxed);
}

} // namespace Lumo::Platform
