#pragma once
// The display going away under a running program: the X server ended (a
// logout, a crashed or restarted display server), the window was destroyed
// from outside, or the server refused a request. Xlib would end the process on
// the spot; here the application first ends its run in order with no further
// display call, so its records, settings and demo are saved, and the program
// then ends with a note on stderr and status 1.
#include <string>

namespace Lumo::Platform {

// What runs before the program ends for a lost display: the application's
// orderly end, making no display call. The thread that sets it is the main
// thread, the only one that runs it.
void SetDisplayLostHandler(void (*handler)());
// True once the display is gone: the video back end makes no more display
// calls from then on.
bool DisplayLost();
// The display is gone; reason goes into the note. On the main thread: runs the
// handler, then ends the process with status 1, and the processes it made (a
// message box's copy would stay on a display that is still there); it does
// not return. On another thread: marks the display lost and returns at once,
// so that thread never waits while it may hold a display lock; the main
// thread ends the run at its next pass (EndIfDisplayLost).
void EndForLostDisplay(const std::string& reason);
// The main loop calls this once a pass: it ends the process as
// EndForLostDisplay does once another thread found the display gone.
void EndIfDisplayLost();
// Leads Xlib's error and I/O-error handlers (both end the process) to
// EndForLostDisplay, for this process only: a forked copy of it (SDL shows an
// X message box from one) that meets them ends at once and saves nothing. A
// thread other than the main one that meets a lost connection never goes back
// into Xlib: it gives back Xlib's locks and waits, asleep, for the process's
// end, which the main thread brings about. For the SDL back end on X11.
void InstallX11DisplayLossHandlers();
// Ends the run as the I/O-error handler does should another library's handler
// have taken the place of ours, for the connection (an Xlib Display*) the
// window is on.
void WatchX11Display(void* display);

} // namespace Lumo::Platform
