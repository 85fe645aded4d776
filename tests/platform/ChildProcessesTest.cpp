// The program's children as its run ends early: a message box's copy forked
// before the end is ended, and so is one forked after it. (The copies that a
// stop signal ends are the stop signal's tests.)
#include "platform/ChildProcesses.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

namespace Lumo::Platform {
namespace {

// A copy that waits for an answer, as a box does; the alarm only bounds one
// that nothing ends. In the copy, 0.
pid_t ForkAWaitingCopy()
{
    const pid_t copy = fork();
    if (copy == 0)
    {
        alarm(60);
        for (;;)
            pause();
    }
    return copy;
}

bool KilledBy(pid_t child, int signalNumber)
{
    int status = 0;
    return waitpid(child, &status, 0) == child && WIFSIGNALED(status) && WTERMSIG(status) == signalNumber;
}

// Run in a copy of the test of its own: the end leaves this process unable to
// keep a child.
TEST(ChildProcesses, TheEndEndsEveryChildAndAnyForkedAfterIt)
{
    EXPECT_EXIT(
        {
            WatchForks();
            const pid_t first = ForkAWaitingCopy();
            const pid_t second = ForkAWaitingCopy();
            EndChildProcesses();
            if (!KilledBy(first, SIGKILL) || !KilledBy(second, SIGKILL))
                std::_Exit(10);
            const pid_t later = fork();
            if (later == 0)
                std::_Exit(0); // it would have shown a box
            if (!KilledBy(later, SIGKILL))
                std::_Exit(11);
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace Lumo::Platform
