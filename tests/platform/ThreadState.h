#pragma once
// A thread of the test process as the scheduler sees it: a test that must know
// whether a thread waits asleep, rather than spins or runs on, asks /proc.
#include <fstream>
#include <string>
#include <sys/syscall.h>
#include <sys/types.h>
#include <unistd.h>

namespace Lumo::Testing {

// The calling thread's id, as /proc names it.
inline pid_t CurrentThreadId()
{
    return static_cast<pid_t>(syscall(SYS_gettid));
}

// The state of a thread of this process ('S' asleep, 'R' running, ...); '?'
// when it cannot be read.
inline char ThreadState(pid_t thread)
{
    std::ifstream stat("/proc/self/task/" + std::to_string(thread) + "/stat");
    std::string line;
    std::getline(stat, line);
    const size_t end = line.rfind(')'); // the name may hold spaces
    return end == std::string::npos || end + 2 >= line.size() ? '?' : line[end + 2];
}

} // namespace Lumo::Testing
