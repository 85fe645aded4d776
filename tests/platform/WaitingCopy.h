#pragma once
// A forked copy of the test process that waits, as a message box's copy of the
// program waits for its answer, and how a child ended.
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace Lumo::Testing {

// The copy's pid; in the copy it never returns. The alarm only bounds a copy
// that nothing ends.
inline pid_t ForkAWaitingCopy()
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

// Waits for the child; true when that signal ended it.
inline bool EndedBySignal(pid_t child, int signalNumber)
{
    int status = 0;
    return waitpid(child, &status, 0) == child && WIFSIGNALED(status) && WTERMSIG(status) == signalNumber;
}

} // namespace Lumo::Testing
