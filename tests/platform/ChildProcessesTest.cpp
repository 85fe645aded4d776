// The program's children as its run ends early: a message box's copy forked
// before the end is ended, and so is one forked after it. (The copies that a
// stop signal ends are the stop signal's tests.)
#include "platform/ChildProcesses.h"

#include "tests/platform/WaitingCopy.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

namespace Lumo::Platform {
namespace {

using Testing::EndedBySignal;
using Testing::ForkAWaitingCopy;

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
            if (!EndedBySignal(first, SIGKILL) || !EndedBySignal(second, SIGKILL))
                std::_Exit(10);
            const pid_t later = fork();
            if (later == 0)
                std::_Exit(0); // it would have shown a box
            if (!EndedBySignal(later, SIGKILL))
                std::_Exit(11);
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace Lumo::Platform
