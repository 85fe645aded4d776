// Stop signals: an async-signal-safe flag, polled by the main loop.
#include "platform/StopSignal.h"

#include <csignal>

namespace Lumo::Platform {

namespace {

volatile std::sig_atomic_t gStopSignal = 0;

extern "C" void OnStopSignal(int)
{
    gStopSignal = 1;
}

} // namespace

void InstallStopSignalHandlers()
{
    struct sigaction action = {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND; // the second signal takes the default action
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

bool StopSignalReceived()
{
    return gStopSignal != 0;
}

void ClearStopSignal()
{
    gStopSignal = 0;
}

} // namespace Lumo::Platform
