#pragma once
// SIGTERM and SIGINT as a request to end the program in order, like the
// window's close button: the handler only raises a flag that the main loop
// polls. A second signal of the same kind ends the process at once; a signal
// that was ignored when the program started (SIGINT of a background job) stays
// ignored.
namespace Lumo::Platform {

void InstallStopSignalHandlers();
// True once SIGTERM or SIGINT has arrived since the handlers were installed.
bool StopSignalReceived();
// Forgets an earlier signal (tests, a second application in one process).
void ClearStopSignal();

} // namespace Lumo::Platform
