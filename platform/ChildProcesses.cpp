// The program's child processes: found through /proc, signalled, and ended
// also when one is being forked as the program ends.
#include "platform/ChildProcesses.h"

#include <atomic>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace Lumo::Platform {

namespace {

// The signal that ends a child forked from now on; 0: children live.
std::atomic<int> gEndingSignal{0};
// Forks begun and not yet returned in this process.
std::atomic<int> gForksUnderWay{0};
static_assert(std::atomic<int>::is_always_lock_free);

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

extern "C" void BeforeFork()
{
    gForksUnderWay.fetch_add(1);
}

// A child forked while the signal was being set may have missed it: it is
// sent the signal once it is listed.
extern "C" void AfterForkInParent()
{
    if (const int signalNumber = gEndingSignal.load())
        SignalChildProcesses(signalNumber);
    gForksUnderWay.fetch_sub(1);
}

extern "C" void AfterForkInChild()
{
    gForksUnderWay.store(0); // the child's own forks, none yet
    if (const int signalNumber = gEndingSignal.load())
        TakeDefaultAction(signalNumber);
}

} // namespace

void SignalChildProcesses(int signalNumber)
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

void EndChildrenForkedFromNow(int signalNumber)
{
    gEndingSignal.store(signalNumber);
}

void WatchForks()
{
    static const bool watching = pthread_atfork(BeforeFork, AfterForkInParent, AfterForkInChild) == 0;
    (void)watching;
}

void EndChildProcesses()
{
    WatchForks();
    gEndingSignal.store(SIGKILL);
    // A fork under way may have copied the program before the line above; once
    // it returns, its thread signals the child, or the round below finds it
    // listed. A second bounds a fork that some other library's fork handler
    // holds up.
    const timespec millisecond{0, 1000000};
    for (int waited = 0; gForksUnderWay.load() > 0 && waited < 1000; ++waited)
        nanosleep(&millisecond, nullptr);
    SignalChildProcesses(SIGKILL);
}

void EndProgramNow(int status)
{
    EndChildProcesses();
    std::fflush(nullptr);
    _exit(status);
}

} // namespace Lumo::Platform
