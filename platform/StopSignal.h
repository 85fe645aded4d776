#pragma once
// SIGTERM, SIGINT and SIGHUP (the terminal that started the program closed) as
// a request to end the program in order, like the window's close button: the
// handler only raises a flag that the main loop polls. A second SIGTERM or
// SIGINT ends the process at once; SIGHUP stays caught, as a closing terminal
// may send it more than once. A signal that was ignored when the program
// started (SIGINT of a background job, SIGHUP under nohup) stays ignored.
// A forked copy of the program (SDL shows an X message box from one), which
// never polls the flag, takes the signal's default action instead. The signal
// is passed on to every process the program made, as a box's copy would hold
// the thread that waits for its answer, and with it the run's end; a copy made
// after the signal ends at once.
namespace Lumo::Platform {

void InstallStopSignalHandlers();
// Writes to a pipe or socket whose reader is gone (stderr piped into the
// "tee" of a terminal that closed, the socket of an X server that ended) fail
// with EPIPE, like any failed write, instead of ending the process before it
// has saved.
void IgnoreBrokenPipes();
// True once one of those signals has arrived since the handlers were installed.
bool StopSignalReceived();
// Forgets an earlier signal (tests, a second application in one process).
void ClearStopSignal();

} // namespace Lumo::Platform
