#pragma once
// The processes the program made itself. SDL shows an X message box from a
// forked copy of the program (and may start a helper in its place), which
// holds the thread that waits for the box's answer, and stays on the screen
// should the program end without it: the program ends them whenever its run
// ends early. Only the program's own children are ever signalled, never its
// process group, which may hold the player's other programs.
namespace Lumo::Platform {

// Sends the signal to every process this one made, as the kernel lists them
// for each of its threads. Only system calls: a signal handler may call it.
void SignalChildProcesses(int signalNumber);
// From now on a process forked by this one ends at once, as that signal would
// end it, and the thread that forked it passes the signal on to it; 0 lets
// them live again (tests). Lock-free: a signal handler may call it. Needs
// WatchForks.
void EndChildrenForkedFromNow(int signalNumber);
// Installs the fork handlers that the above relies on; once per process, any
// later call does nothing.
void WatchForks();
// Ends every process this one made, one being forked at this moment included,
// and any it makes from now on. Not for signal handlers.
void EndChildProcesses();
// Ends the program at once with that status, its children first, without exit
// handlers (they may reach for a display that is gone, or for objects that a
// thread left behind still uses); stdio is flushed.
[[noreturn]] void EndProgramNow(int status);

} // namespace Lumo::Platform
