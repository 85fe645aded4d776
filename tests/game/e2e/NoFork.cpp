// Preloaded into the game by RealWindow.sh: every fork fails, as at the
// process limit or without memory, so SDL shows its message boxes in the
// program itself rather than from a forked copy.
#include <cerrno>
#include <sys/types.h>

#define EXPORT extern "C" __attribute__((visibility("default")))

EXPORT pid_t fork()
{
    errno = EAGAIN;
    return -1;
}

EXPORT pid_t vfork()
{
    errno = EAGAIN;
    return -1;
}
